#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/Colour.h"
#include "controls/FlagArray.h"

namespace korvana {

class StatusLog;

// A tab title is read back through a buffer of this many characters.
inline constexpr std::size_t kTabTitleReadBack = 63;

struct SearchTab {
    std::string title;  // what the tab shows: the search text and the count
    int image = -1;
    int searchId = 0;
    std::string text;       // the search text alone, whatever brackets it holds
    std::string toolTip{};  // shown while the mouse rests on the tab
};

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
std::string TruncateField(std::string_view text, std::size_t limit);

// The title of a tab whose search has `count` results: the search text, then
// " (count)". The text is kept apart from the count, so brackets of its own
// stay as they are.
std::string TitleWithCount(std::string_view text, int count);

// Which tab of a strip too narrow for all of them is shown first, so that
// tab `keepVisible` (-1: none) is shown whole. `widths` are the tabs' widths
// in order, `room` the width they may take once the scroll arrows are in
// place, `first` the tab shown first until now. When the tabs fit, 0.
// Never scrolls further than needed to show the last tab whole.
int FirstTabShown(const std::vector<int>& widths, int room, int first, int keepVisible);
// The first tab shown once every tab after it fits into `room`.
int LastFirstTab(const std::vector<int>& widths, int room);

// The tabs of the search strip, one per search, and their selection. Only a
// user's change of selection reaches the search model; selection by program
// is silent.
class SearchTabModel {
  public:
    explicit SearchTabModel(StatusLog* log = nullptr) : log_(log) {}

    int Count() const { return static_cast<int>(tabs_.size()); }
    const SearchTab& Tab(int index) const { return tabs_[static_cast<std::size_t>(index)]; }
    int Selected() const { return selected_; }
    int PreviousSelection() const { return previous_; }
    const FlagArray& EnabledFlags() const { return enabled_; }
    bool Enabled(int index) const;
    void SetEnabled(int index, bool enabled);

    // Appends a tab, enabled, and selects it.
    void Add(std::string title, int image, int searchId);
    // Writes `count` into the title of the first tab of `searchId`; reports
    // whether such a tab exists.
    bool SetResultCount(int searchId, int count);
    // The tool tip of the tab of `searchId`, if there is one.
    void SetToolTip(int searchId, std::string toolTip);
    void SetItemTitle(int index, std::string title);

    void RemoveAll();
    void Remove(int index);
    // Selects a neighbour first (the right one for the first tab, else the
    // left one), then removes the selected tab.
    void RemoveSelected();

    // -1 when there is no selected tab.
    int SelectedSearchId() const;
    // Selection by program; refused for a disabled or missing tab.
    bool Select(int index);
    // Selection by the user's click: the search id to show, or nothing when
    // the tab cannot be selected.
    std::optional<int> SelectByUser(int index);
    // The nearest enabled tab `step` (+1 or -1) away from the selected one,
    // going round the ends when `wrap`; -1 when there is none.
    int Neighbour(int step, bool wrap) const;

  private:
    bool Valid(int index) const { return index >= 0 && index < Count(); }

    StatusLog* log_;
    std::vector<SearchTab> tabs_;
    FlagArray enabled_;
    int selected_ = -1;
    int previous_ = 0;
};

// The title colours of the strip; unset colours fall back to the system's.
struct TabColours {
    std::optional<Rgb> selected;
    std::optional<Rgb> normal;
    std::optional<Rgb> disabled;
    std::optional<Rgb> hover;  // setting it switches hover tracking on
};

Rgb TabTitleColour(const TabColours& colours, const SystemColours& system, bool enabled,
                   bool selected, bool hovered);

}  // namespace korvana
