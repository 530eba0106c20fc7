#pragma once

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"

namespace korvana::test {

// Records what a menu tells its owner, one line per notification.
class RecordingOwner : public MenuOwner {
  public:
    std::vector<std::string> events;
    std::vector<int> commands;
    MenuCharReply charReply;

    void OnInitMenu(MenuTable& menu) override { events.push_back("init " + menu.name); }
    void OnInitMenuPopup(MenuTable& menu) override { events.push_back("initpopup " + menu.name); }
    void OnEnterMenuLoop(const MenuTable& menu) override { events.push_back("enter " + menu.name); }
    void OnMenuSelect(int item, unsigned flags, const MenuTable&) override {
        events.push_back("select " + std::to_string(item) + " " + std::to_string(flags));
    }
    MenuCharReply OnMenuChar(char32_t c, const MenuTable&) override {
        events.push_back("char " + std::to_string(static_cast<unsigned>(c)));
        return charReply;
    }
    void OnExitMenuLoop(const MenuTable& menu) override { events.push_back("exit " + menu.name); }
    void OnMenuCommand(int commandId) override {
        commands.push_back(commandId);
        events.push_back("command " + std::to_string(commandId));
    }

    int Count(const std::string& prefix) const;
};

// A small two-colour picture to stand in for the artwork.
QIcon TestIcon(const QColor& colour, int size = 24);

// The main window's File menu, with a grayed and a checked row and a
// submenu added for the tests.
MenuTable SampleMenu();

// The widget as it would appear on screen.
QImage Render(QWidget& widget);

}  // namespace korvana::test
