#include "controls/MenuTable.h"

#include <utility>

namespace korvana {

MenuItem MenuCommand(std::string text, int commandId) {
    MenuItem item;
    item.text = std::move(text);
    item.commandId = commandId;
    return item;
}

MenuItem MenuSeparator() {
    MenuItem item;
    item.separator = true;
    return item;
}

MenuItem MenuSubmenu(std::string text, MenuTable submenu) {
    MenuItem item;
    item.text = std::move(text);
    item.submenu = std::make_shared<MenuTable>(std::move(submenu));
    return item;
}

unsigned MenuItemFlags(const MenuItem& item) {
    unsigned flags = kMenuFlagHilite;
    if (item.grayed) {
        flags |= kMenuFlagGrayed;
    }
    if (item.checked) {
        flags |= kMenuFlagChecked;
    }
    if (item.submenu) {
        flags |= kMenuFlagPopup;
    }
    if (item.separator) {
        flags |= kMenuFlagSeparator;
    }
    return flags;
}

}  // namespace korvana
