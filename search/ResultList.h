#pragma once

#include <cstddef>
#include <vector>

#include "search/ResultRows.h"

namespace korvana {

// A change to the rows of the displayed search, as the model reports it.
struct ListEvent {
    enum class Kind {
        Added,  // a new row
        Sized,  // a web row's size became known: it leaves its place and is inserted again
        Failed  // a web row's probe failed: it leaves the list
    };
    Kind kind = Kind::Added;
    // The row as it is to be shown from now on.
    ListedRow row;
};

// What a batch of events does to the list, worked out before anything
// changes so that a view can be told in order: first the rows in `leaving`
// go, then the rows in `fresh` come, and the list becomes `rows`.
struct ListPlan {
    // Indexes in the current list, ascending, of rows that leave for good.
    std::vector<std::size_t> leaving;
    // Rows new to the list, in the order they arrived.
    std::vector<ListedRow> fresh;
    // Set when a row that stays changes its values and its place.
    bool moved = false;
    // The whole list afterwards; empty when `block` is set.
    std::vector<ListedRow> rows;
    // When every new row lands side by side and nothing else changes, as in
    // a flood, the rows that go in at `arrivedAt.front()`, in list order: the
    // list takes them in place rather than as a copy of the whole list.
    std::vector<ListedRow> block;
    // Indexes in `rows`, ascending, of every row inserted by the batch (fresh
    // rows and moved rows).
    std::vector<std::size_t> arrivedAt;

    bool Empty() const { return leaving.empty() && arrivedAt.empty(); }
};

// The rows of the displayed search, in list order. Used on the GUI thread
// only. A batch of events is applied as if each event were applied by
// itself, in order, with the insertion rule, but in one merge.
class ResultList {
  public:
    const std::vector<ListedRow>& Rows() const { return rows_; }
    std::size_t Size() const { return rows_.size(); }
    const ListedRow& At(std::size_t index) const { return rows_[index]; }

    void Reset(std::vector<ListedRow> rows) { rows_ = std::move(rows); }
    // What the batch would do; the list does not change.
    ListPlan Plan(const std::vector<ListEvent>& events, RowOrdering ordering) const;
    // Steps on the way to a plan's list, for views that are told row by row.
    void Erase(std::size_t first, std::size_t count);
    void Append(const std::vector<ListedRow>& rows);
    // Makes the list the plan's list.
    void Adopt(ListPlan&& plan);

  private:
    std::vector<ListedRow> rows_;
};

}  // namespace korvana
