#include "search/SearchPageLayout.h"

#include <algorithm>

namespace korvana {
namespace {

Rect At(int x, int y, int width, int height) {
    return Rect{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

}  // namespace

// Room the result list keeps for its header and a few rows.
constexpr int kMinResultsHeight = 80;
// The find area along the bottom: the list ends this far above the bottom.
constexpr int kFindAreaHeight = 48;
// The find area's controls, from the right edge, and the download button and
// picture from the left.
constexpr int kFindAreaRightWidth = 370;
constexpr int kDownloadAreaWidth = 205;
// The filter box, and what the tab row keeps for it and the remove button.
constexpr int kFilterBoxWidth = 200;
constexpr int kFilterBoxRoom = kFilterBoxWidth + 30;
// The progress line needs this much room to say anything.
constexpr int kLeastProgressWidth = 80;

SearchPageLayout LayOutSearchPage(const Rect& client, int filterListHeight) {
    const int l = client.left;
    const int t = client.top;
    const int r = client.right;
    const int b = client.bottom;
    // What the filter list needs beyond its least height pushes the rest down.
    const int drop = std::max(filterListHeight, kMinFilterListHeight) - kMinFilterListHeight;
    SearchPageLayout layout;
    layout.keyword = At(l + 5, t + 25, 200, 30);
    layout.startStop = At(l + 225, t + 25, 75, 30);
    layout.reset = At(l + 225, t + 70, 75, 30);
    // Under the keyword box, beside the Reset button: the filter list covers
    // the space right of the buttons, where a status there could not be read.
    layout.status = At(l + 5, t + 60, 215, 42);
    layout.filters = At(l + 350, t + 25, r - 2 * l - 360, kMinFilterListHeight + drop);
    layout.editor = At(l + 351, t + 26, 5, 5);
    layout.separator = At(l + 5, t + 105 + drop, r - l - 10, 1);
    layout.tabs = At(l + 5, t + 110 + drop, r - l - 35 - kFilterBoxRoom, 30);
    layout.filterBox = At(r - l - 30 - kFilterBoxWidth, t + 108 + drop, kFilterBoxWidth, 21);
    layout.removeButton = At(r - l - 22, t + 111 + drop, 16, 16);
    layout.results = At(l + 5, t + 130 + drop, r - l - 10, b - t - 130 - drop - kFindAreaHeight);
    layout.downloadSelected = At(l + 5, b - 44, 150, 40);
    // The picture has no place of its own in the table; it sits beside the
    // download button.
    layout.picture = At(l + 165, b - 44, 40, 40);
    layout.findText = At(r - 370, b - 39, 200, 30);
    layout.findNext = At(r - 160, b - 39, 90, 30);
    layout.findStatus = At(r - 65, b - 39, 60, 30);
    const int progressWidth = (r - 380) - (l + kDownloadAreaWidth + 10);
    layout.progress = progressWidth >= kLeastProgressWidth
                          ? At(l + kDownloadAreaWidth + 10, b - 44, progressWidth, 40)
                          : Rect{};
    return layout;
}

Size MinimumSearchPageSize(int filterListHeight) {
    const int drop = std::max(filterListHeight, kMinFilterListHeight) - kMinFilterListHeight;
    // The filter list keeps at least a narrow "Search" column beside the
    // keyword box and the buttons.
    const int width = std::max(350 + 10 + 200, kDownloadAreaWidth + kFindAreaRightWidth + 10);
    return Size{width, 130 + drop + kMinResultsHeight + kFindAreaHeight};
}

std::array<int, kResultColumnCount> ResultColumnWidths(int clientWidth, bool setUp) {
    const int status = setUp ? 45 : 75;
    const double rest = std::max(clientWidth - status, 0);
    return {status,
            static_cast<int>(0.4 * rest),
            static_cast<int>(0.2 * rest),
            static_cast<int>(0.15 * rest),
            static_cast<int>(0.1 * rest),
            static_cast<int>(0.15 * rest),
            0};
}

std::array<int, 2> FilterColumnWidths(int clientWidth, bool setUp) {
    const int term = setUp ? 50 : 125;
    return {term, std::max(clientWidth - term, 0)};
}

}  // namespace korvana
