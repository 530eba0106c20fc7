#pragma once

namespace korvana {

// Shows the results of one search: what the search tab strip calls when the
// user picks a tab. The search model implements it.
class SearchViewer {
  public:
    virtual ~SearchViewer() = default;
    virtual void ShowSearch(int searchId) = 0;
};

}  // namespace korvana
