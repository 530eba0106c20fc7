#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/Colour.h"

namespace korvana {

// A small picture for an item's check square, row by row from the top.
struct MenuBitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

struct MenuTable;

// One row of a menu. Texts keep their blanks; "&" marks the mnemonic and
// "&&" stands for one ampersand.
struct MenuItem {
    std::string text;
    int commandId = 0;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::shared_ptr<const MenuBitmap> checkedBitmap;
    std::shared_ptr<const MenuBitmap> uncheckedBitmap;
    std::shared_ptr<MenuTable> submenu;

    bool Selectable() const { return !separator && !grayed; }
};

// A menu as the owner describes it: a name (the menu's resource id name,
// used as the popup's object name) and its rows in order.
struct MenuTable {
    std::string name;
    std::vector<MenuItem> items;
};

// Builders for readable menu tables.
MenuItem MenuCommand(std::string text, int commandId);
MenuItem MenuSeparator();
MenuItem MenuSubmenu(std::string text, MenuTable submenu);

// Flags that describe a highlighted row to the owner.
inline constexpr unsigned kMenuFlagGrayed = 0x0001;
inline constexpr unsigned kMenuFlagChecked = 0x0008;
inline constexpr unsigned kMenuFlagPopup = 0x0010;
inline constexpr unsigned kMenuFlagHilite = 0x0080;
inline constexpr unsigned kMenuFlagSeparator = 0x0800;
unsigned MenuItemFlags(const MenuItem& item);

}  // namespace korvana
