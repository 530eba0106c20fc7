#pragma once

#include <cstddef>
#include <iterator>
#include <mutex>
#include <utility>

#include "util/RowChanges.h"

namespace korvana {

// The steps a list has made that its view has not taken yet, and the notice
// that tells the view so. Any thread may queue; the view takes them all at
// once on the GUI thread.
template <typename Row>
class RowChangeQueue {
  public:
    // An insertion right after the rows of the insertion before it joins
    // that one, so that rows appended one at a time reach the view as one
    // range.
    void Queue(RowChange<Row> change) {
        const std::lock_guard lock(mutex_);
        if (!queued_.empty() && Joins(queued_.back(), change)) {
            RowChange<Row>& last = queued_.back();
            last.rows.insert(last.rows.end(), std::make_move_iterator(change.rows.begin()),
                             std::make_move_iterator(change.rows.end()));
            last.count = last.rows.size();
        } else {
            queued_.push_back(std::move(change));
        }
        notice_.Raise();
    }
    // Drops the waiting steps for one that says everything (a Reset).
    void Replace(RowChange<Row> change) {
        const std::lock_guard lock(mutex_);
        queued_.clear();
        queued_.push_back(std::move(change));
        notice_.Raise();
    }
    std::size_t Waiting() const {
        const std::lock_guard lock(mutex_);
        return queued_.size();
    }
    // The steps in the order they were made; the next step raises the
    // notice again.
    RowChanges<Row> Take() {
        const std::lock_guard lock(mutex_);
        notice_.Taken();
        return std::exchange(queued_, {});
    }
    ChangeNotice& Notice() { return notice_; }

  private:
    static bool Joins(const RowChange<Row>& before, const RowChange<Row>& change) {
        using Kind = typename RowChange<Row>::Kind;
        return before.kind == Kind::Inserted && change.kind == Kind::Inserted &&
               change.first == before.first + before.rows.size();
    }

    mutable std::mutex mutex_;
    RowChanges<Row> queued_;
    ChangeNotice notice_;
};

}  // namespace korvana
