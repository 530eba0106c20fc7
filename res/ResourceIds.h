#pragma once

// The fixed ids of the main window's controls, menus and commands. A
// widget's objectName is the name of its id.
namespace korvana::res {

// Controls of the main window.
inline constexpr int kSearchButton = 1003;
inline constexpr int kTransfersButton = 1005;
inline constexpr int kLibraryButton = 1006;
inline constexpr int kPreferencesButton = 1007;
inline constexpr int kPageHost = 1013;
inline constexpr int kInvisibleDefaultButton = 1016;
inline constexpr int kServersPane = 1095;
inline constexpr int kSeparator = 1096;
inline constexpr int kBandwidthPane = 1097;
inline constexpr int kSharedPane = 1098;
inline constexpr int kDownloadsPane = 1099;
inline constexpr int kLeftFiller = 1100;
inline constexpr int kRightFiller = 1101;

// Menus opened from the menu bar.
inline constexpr int kFileMenu = 144;
inline constexpr int kWindowMenu = 151;
inline constexpr int kHelpMenu = 152;
inline constexpr int kFeedbackMenu = 153;

// The "About" command of the window's system menu, where the desktop has one.
inline constexpr int kAboutSystemCommand = 16;

// Menu commands.
enum Command : int {
    kLocateDownloadFolder = 32771,
    kClearIncomplete,
    kExit,
    kShowSearch,
    kShowTransfers,
    kShowLibrary,
    kSendFeedback,
    kViewFaq,
    kViewLicense,
    kContactUs,
    kVisitWebsite,
    kAbout,
};

}  // namespace korvana::res
