#pragma once

#include <array>
#include <string_view>

namespace korvana {

// The fixed parts of the preferences dialog and its Sharing page that the
// widgets render: ids, texts and the geometry in dialog units (the dialog
// font is 8 points). The General and Networks pages' fields are in
// CoreOptionPages.h.

// A control placed in dialog units. `id` is kNoControlId for labels that no
// handler refers to.
struct DialogControl {
    int id;
    std::string_view text;
    int x;
    int y;
    int width;
    int height;
};

inline constexpr int kNoControlId = -1;

// ---- The dialog (183) ----

inline constexpr int kPreferencesDialogId = 183;
inline constexpr std::string_view kPreferencesTitle = "Korvana MP3 Finder Preferences";
inline constexpr DialogControl kPageList{1063, "", 7, 7, 52, 248};
inline constexpr DialogControl kPageHost{1064, "", 59, 7, 350, 224};
inline constexpr DialogControl kSaveButton{1080, "&Save", 168, 236, 51, 19};
inline constexpr DialogControl kCancelButton{2, "&Cancel", 246, 236, 51, 19};

// The page list: one column (not visible in icon view) and four items with
// 32x32 images, none selected at opening.
inline constexpr std::string_view kPageListColumn = "Status";
inline constexpr std::array<std::string_view, 5> kPageNames{"General", "Networks", "Sharing",
                                                            "Core", "Web engines"};
inline constexpr int kPageImageSize = 32;

// The page to show after a click in the page list, or -1 to leave the
// visible one: a click below the last item selects nothing, and a click on
// the visible page's item changes nothing.
constexpr int PageAfterClick(int clickedItem, int visiblePage) {
    if (clickedItem < 0 || clickedItem >= static_cast<int>(kPageNames.size()) ||
        clickedItem == visiblePage) {
        return -1;
    }
    return clickedItem;
}

// ---- The Sharing page (190) ----

inline constexpr int kSharingPageDialogId = 190;
inline constexpr DialogControl kDownloadsFolderLabel{1102, "Downloads Folder:", 30, 33, 61, 8};
inline constexpr DialogControl kDownloadsFolderEdit{1110, "", 92, 30, 152, 16};
inline constexpr DialogControl kBrowseButton{1107, "&Browse", 249, 30, 58, 16};
inline constexpr DialogControl kSharedFoldersLabel{
    kNoControlId, "Additional Shared Folders", 94, 73, 81, 8};
inline constexpr DialogControl kSharedFolderList{1106, "", 30, 98, 213, 114};
inline constexpr DialogControl kAddButton{1040, "&Add", 249, 119, 58, 19};
inline constexpr DialogControl kRemoveButton{1005, "&Remove", 249, 163, 58, 19};
inline constexpr std::string_view kSharedFolderColumn = "Folder";

// The folder picker of Browse and Add (the trailing space is part of it).
inline constexpr std::string_view kFolderPickerTitle = "Open Folder ";

}  // namespace korvana
