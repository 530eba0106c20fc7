#pragma once

#include <array>

#include "controls/Geometry.h"
#include "search/ResultRows.h"

namespace korvana {

// Where the search page's controls go, from its client rectangle.
struct SearchPageLayout {
    Rect keyword;
    Rect startStop;
    Rect reset;
    Rect status;
    Rect filters;
    Rect editor;
    Rect separator;
    Rect tabs;
    Rect removeButton;
    Rect results;
    Rect downloadSelected;
    Rect picture;
    Rect findText;
    Rect findNext;
    Rect findStatus;
    // The filter box at the right end of the tab row, just above the list.
    Rect filterBox;
    // The selected search's progress, between the picture and the find
    // text; empty when the page is too narrow for it.
    Rect progress;
};

// `filterListHeight` is what the filter list needs to show all its rows
// (never less than kMinFilterListHeight); the controls under it move down
// by what it needs beyond that, and the result list takes what is left.
inline constexpr int kMinFilterListHeight = 75;
SearchPageLayout LayOutSearchPage(const Rect& client, int filterListHeight = kMinFilterListHeight);

// The smallest page on which every control keeps its place and the result
// list still shows a few rows.
Size MinimumSearchPageSize(int filterListHeight);

// The result list's column widths for a client width. At set-up, before the
// first resize, the shares are taken of less and the Status column is
// narrower; the Link column is hidden (0).
std::array<int, kResultColumnCount> ResultColumnWidths(int clientWidth, bool setUp);
// The filter list's "Term" and "Search" widths.
std::array<int, 2> FilterColumnWidths(int clientWidth, bool setUp);

}  // namespace korvana
