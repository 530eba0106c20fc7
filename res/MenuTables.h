#pragma once

#include <string>

#include "controls/MenuTable.h"

namespace korvana::res {

// One menu of the menu bar: its table, the caption on its band and how far
// right of the window's corner it opens.
struct MenuBarEntry {
    std::string title;  // the menu bar's text
    MenuTable table;
    std::string caption;
    int xOffset = 0;
};

MenuBarEntry FileMenu();
MenuBarEntry WindowMenu();
MenuBarEntry FeedbackMenu();
MenuBarEntry HelpMenu();

// The vendor's pages opened from the Help menu, after the vendor's address.
inline constexpr const char* kFaqPath = "/modules.php?op=modload&name=FAQ&file=index";
inline constexpr const char* kLicensePath = "/modules.php?op=modload&name=Disclaimer&file=index";
inline constexpr const char* kContactPath = "/modules.php?op=modload&name=ContactUs&file=index";

}  // namespace korvana::res
