#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "transfers/TransferRows.h"

namespace korvana {

// The pictures a transfers list's column header shows, in the order of the
// program's set of sort header images.
enum class SortImage : int { Unsorted = 0, Descending = 1, Ascending = 2 };

// Which column a transfers list is ordered by, and which way. Until the
// first click on a header the rows keep the order their transfers came in.
// A click on a column makes it the sort column, largest first; another
// click on the sort column turns the order round. So the lists behave as
// the search results and the library do.
class ListSort {
  public:
    void Click(std::size_t column);
    std::optional<std::size_t> Column() const { return column_; }
    bool Ascending() const { return ascending_; }
    SortImage Image(std::size_t column) const;

  private:
    std::optional<std::size_t> column_;
    bool ascending_ = false;
};

// Negative, zero or positive as row `a` sorts before, with or after `b`
// under `column`, smallest first: sizes, rates, progress and times by their
// numbers (an unknown time left after every known one), texts ignoring
// letter case.
int CompareDownloadRows(const DownloadRow& a, const DownloadRow& b, std::size_t column);
int CompareUploadRows(const UploadRow& a, const UploadRow& b, std::size_t column);

// Puts `rows` in `sort` order; rows that compare equal keep their order
// among themselves, so a refresh that changes no sort key moves no row.
// True when the order changed.
template <typename Row, typename Compare>
bool SortRows(std::vector<Row>& rows, const ListSort& sort, Compare compare) {
    if (!sort.Column()) {
        return false;
    }
    const std::size_t column = *sort.Column();
    const bool ascending = sort.Ascending();
    const auto before = [&](const Row& a, const Row& b) {
        const int order = compare(a, b, column);
        return ascending ? order < 0 : order > 0;
    };
    if (std::is_sorted(rows.begin(), rows.end(), before)) {
        return false;
    }
    std::stable_sort(rows.begin(), rows.end(), before);
    return true;
}

// Finds each row's index by its key again, after the rows moved.
template <typename Row, typename Key, typename KeyOf>
void IndexRows(const std::vector<Row>& rows, std::unordered_map<Key, std::size_t>& rowOf,
               KeyOf keyOf) {
    rowOf.clear();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        rowOf.emplace(keyOf(rows[index]), index);
    }
}

}  // namespace korvana
