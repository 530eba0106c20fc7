#pragma once

#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

namespace korvana {

// One step of a change to a list's rows, in the order a view must hear of
// them. Row numbers count the rows as they stand just before the step.
// This is the one way a list in the logic tells the screen what changed:
// the list queues steps, raises its ChangeNotice, and the GUI thread takes
// the steps in one batch and applies them (controls/RowTableModel.h).
template <typename Row>
struct RowChange {
    enum class Kind {
        Inserted,   // `rows` become the rows from `first` on
        Removed,    // `count` rows from `first` on go
        Changed,    // `rows` replace the rows from `first` on, in place
        Moved,      // row `first`, unchanged, goes to index `to`, counted once it has left
        Reordered,  // the same rows in a new order: the list becomes `rows`
        Reset,      // the list becomes `rows`
    };
    Kind kind = Kind::Reset;
    std::size_t first = 0;
    std::size_t count = 0;
    std::size_t to = 0;
    std::vector<Row> rows;

    static RowChange Inserted(std::size_t first, std::vector<Row> rows) {
        return {Kind::Inserted, first, rows.size(), 0, std::move(rows)};
    }
    static RowChange Removed(std::size_t first, std::size_t count) {
        return {Kind::Removed, first, count, 0, {}};
    }
    static RowChange Changed(std::size_t first, std::vector<Row> rows) {
        return {Kind::Changed, first, rows.size(), 0, std::move(rows)};
    }
    static RowChange Moved(std::size_t from, std::size_t to) {
        return {Kind::Moved, from, 1, to, {}};
    }
    static RowChange Reordered(std::vector<Row> rows) {
        return {Kind::Reordered, 0, rows.size(), 0, std::move(rows)};
    }
    static RowChange Reset(std::vector<Row> rows) {
        return {Kind::Reset, 0, rows.size(), 0, std::move(rows)};
    }
};

template <typename Row>
using RowChanges = std::vector<RowChange<Row>>;

// Applies the steps to a plain copy of the rows: what a view's model does,
// for lists and tests that keep one without a view.
template <typename Row>
void ApplyRowChanges(std::vector<Row>& rows, RowChanges<Row> changes) {
    for (RowChange<Row>& change : changes) {
        const auto at = rows.begin() + static_cast<std::ptrdiff_t>(change.first);
        switch (change.kind) {
            case RowChange<Row>::Kind::Inserted:
                rows.insert(at, std::make_move_iterator(change.rows.begin()),
                            std::make_move_iterator(change.rows.end()));
                break;
            case RowChange<Row>::Kind::Removed:
                rows.erase(at, at + static_cast<std::ptrdiff_t>(change.count));
                break;
            case RowChange<Row>::Kind::Changed:
                std::move(change.rows.begin(), change.rows.end(), at);
                break;
            case RowChange<Row>::Kind::Moved: {
                Row moving = std::move(*at);
                rows.erase(at);
                rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(change.to),
                            std::move(moving));
                break;
            }
            case RowChange<Row>::Kind::Reordered:
            case RowChange<Row>::Kind::Reset:
                rows = std::move(change.rows);
                break;
        }
    }
}

// Told, on any thread, that a list has changes waiting where none did. It
// must only post a drain to the GUI thread: never wait, never call back into
// the list.
class ChangeListener {
  public:
    virtual ~ChangeListener() = default;
    virtual void OnChangesWaiting() = 0;
};

// The half of a changing list that tells its listener: the first change
// after a take raises the notice once; later ones are folded into the same
// drain until the changes are taken again. A list may raise it while
// holding its own lock: the notice only ever takes its own.
class ChangeNotice {
  public:
    // The listener must detach (null) before it goes; once this returns,
    // the old listener is not called again.
    void SetListener(ChangeListener* listener) {
        const std::lock_guard lock(mutex_);
        listener_ = listener;
        raised_ = false;
    }
    // Any thread: changes wait.
    void Raise() {
        const std::lock_guard lock(mutex_);
        if (raised_ || listener_ == nullptr) {
            return;
        }
        raised_ = true;
        listener_->OnChangesWaiting();
    }
    // The GUI thread, as it takes the changes: the next change raises again.
    void Taken() {
        const std::lock_guard lock(mutex_);
        raised_ = false;
    }

  private:
    std::mutex mutex_;
    ChangeListener* listener_ = nullptr;
    bool raised_ = false;
};

}  // namespace korvana
