#pragma once

#include "controls/MenuTable.h"

namespace korvana {

// What the owner of a drawn popup menu may tell it about a typed character
// that matches no row.
struct MenuCharReply {
    enum class Action { Ignore, Close, Choose };
    Action action = Action::Ignore;
    int row = -1;  // for Choose: the row to act on as if clicked
};

// The window a drawn popup menu reports to, in the order of one use:
// initialisation (the owner may still change the table), menu-loop entry,
// each change of highlighted row, then the exit of every open level,
// deepest first, and finally the chosen command, at most once, after the
// whole menu has closed.
class MenuOwner {
  public:
    virtual ~MenuOwner() = default;

    virtual void OnInitMenu(MenuTable& /*menu*/) {}
    virtual void OnInitMenuPopup(MenuTable& /*menu*/) {}
    virtual void OnEnterMenuLoop(const MenuTable& /*menu*/) {}
    // `itemOrIndex` is the command id, or the row index for a row with a
    // submenu (whose flags include kMenuFlagPopup).
    virtual void OnMenuSelect(int /*itemOrIndex*/, unsigned /*flags*/, const MenuTable& /*menu*/) {}
    virtual MenuCharReply OnMenuChar(char32_t /*c*/, const MenuTable& /*menu*/) { return {}; }
    virtual void OnExitMenuLoop(const MenuTable& /*menu*/) {}
    virtual void OnMenuCommand(int commandId) = 0;
};

}  // namespace korvana
