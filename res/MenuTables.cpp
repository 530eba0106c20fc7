#include "res/MenuTables.h"

#include "res/ResourceIds.h"

namespace korvana::res {

MenuBarEntry FileMenu() {
    return {"&File",
            {"IDR_FILE_MENU",
             {MenuCommand("&Locate Download Folder", kLocateDownloadFolder),
              MenuCommand("&Clear Incomplete Directory", kClearIncomplete), MenuSeparator(),
              MenuCommand("E&xit", kExit)}},
            "File",
            0};
}

MenuBarEntry WindowMenu() {
    return {"&Window",
            {"IDR_WINDOW_MENU",
             {MenuCommand("&Search              F2", kShowSearch),
              MenuCommand("&Transfers          F3", kShowTransfers),
              MenuCommand("&Library              F4", kShowLibrary)}},
            "Goto",
            27};
}

MenuBarEntry FeedbackMenu() {
    return {"Feedback",
            {"IDR_FEEDBACK_MENU", {MenuCommand("Send Us Feedback", kSendFeedback)}},
            "",
            77};
}

MenuBarEntry HelpMenu() {
    return {
        "&Help",
        {"IDR_HELP_MENU",
         {MenuCommand("&View FAQ", kViewFaq), MenuCommand("View &License Agreement", kViewLicense),
          MenuCommand("&How To Contact Us", kContactUs),
          MenuCommand("Visit &Website", kVisitWebsite), MenuSeparator(),
          MenuCommand("&About Korvana MP3 Finder", kAbout)}},
        "   Help",
        135};
}

}  // namespace korvana::res
