#include "search/ResultList.h"

#include <algorithm>
#include <iterator>

namespace korvana {
namespace {

using Step = RowChange<ListedRow>;

struct Arrival {
    ListedRow row;
    bool fresh = true;
};

// Folds the batch into the rows that arrive (in order) and the marks of
// listed rows that leave their place.
class BatchFold {
  public:
    explicit BatchFold(const std::vector<ListedRow>& listed)
        : listed_(listed), gone_(listed.size(), false) {}

    void Apply(ListEvent&& event) {
        if (event.kind == ListEvent::Kind::Added) {
            arrivals_.push_back({std::move(event.row), true});
            return;
        }
        const bool sized = event.kind == ListEvent::Kind::Sized;
        const auto pending = std::find_if(
            arrivals_.rbegin(), arrivals_.rend(),
            [&](const Arrival& arrival) { return arrival.row.result == event.row.result; });
        if (pending != arrivals_.rend()) {
            const bool fresh = pending->fresh;
            arrivals_.erase(std::next(pending).base());
            if (sized) {
                arrivals_.push_back({std::move(event.row), fresh});
            }
            return;
        }
        for (std::size_t i = 0; i < listed_.size(); ++i) {
            if (!gone_[i] && listed_[i].result == event.row.result) {
                gone_[i] = true;
                anyGone_ = true;
                if (sized) {
                    moved_ = true;
                    arrivals_.push_back({std::move(event.row), false});
                } else {
                    leaving_.push_back(i);
                }
                return;
            }
        }
    }

    bool AnyGone() const { return anyGone_; }
    bool Moved() const { return moved_; }
    bool AllFresh() const {
        return std::all_of(arrivals_.begin(), arrivals_.end(),
                           [](const Arrival& arrival) { return arrival.fresh; });
    }
    // Indexes of listed rows that leave for good, ascending.
    std::vector<std::size_t> Leaving() const {
        std::vector<std::size_t> leaving = leaving_;
        std::sort(leaving.begin(), leaving.end());
        return leaving;
    }
    std::vector<ListedRow> Survivors() const {
        std::vector<ListedRow> survivors;
        survivors.reserve(listed_.size());
        for (std::size_t i = 0; i < listed_.size(); ++i) {
            if (!gone_[i]) {
                survivors.push_back(listed_[i]);
            }
        }
        return survivors;
    }
    std::vector<ListedRow> Fresh() const {
        std::vector<ListedRow> rows;
        for (const Arrival& arrival : arrivals_) {
            if (arrival.fresh) {
                rows.push_back(arrival.row);
            }
        }
        return rows;
    }
    // Every arriving row, taken out of the fold.
    std::vector<ListedRow> TakeArriving() {
        std::vector<ListedRow> rows;
        rows.reserve(arrivals_.size());
        for (Arrival& arrival : arrivals_) {
            rows.push_back(std::move(arrival.row));
        }
        arrivals_.clear();
        return rows;
    }

  private:
    const std::vector<ListedRow>& listed_;
    std::vector<bool> gone_;
    std::vector<std::size_t> leaving_;
    bool anyGone_ = false;
    bool moved_ = false;
    std::vector<Arrival> arrivals_;
};

// From the bottom up, one run of neighbouring rows at a time, so that the
// indexes still to remove stay valid.
void AddRemovals(const std::vector<std::size_t>& leaving, RowChanges<ListedRow>& steps) {
    std::size_t end = leaving.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && leaving[begin - 1] + 1 == leaving[begin]) {
            --begin;
        }
        steps.push_back(Step::Removed(leaving[begin], end - begin));
        end = begin;
    }
}

// New rows alone, in insertion order, that all land side by side: their
// places come from a binary search each, and they go in as one block (taken
// from `arriving`).
bool AddBlock(const std::vector<ListedRow>& listed, std::vector<ListedRow>& arriving,
              RowOrdering ordering, RowChanges<ListedRow>& steps) {
    const std::size_t first = InsertPosition(listed, arriving.front(), ordering);
    for (std::size_t i = 1; i < arriving.size(); ++i) {
        if (InsertPosition(listed, arriving[i], ordering) + i != first + i) {
            return false;
        }
    }
    steps.push_back(Step::Inserted(first, std::move(arriving)));
    return true;
}

}  // namespace

RowChanges<ListedRow> ListSteps(const std::vector<ListedRow>& listed, std::vector<ListEvent> events,
                                RowOrdering ordering) {
    BatchFold fold(listed);
    for (ListEvent& event : events) {
        fold.Apply(std::move(event));
    }
    RowChanges<ListedRow> steps;
    AddRemovals(fold.Leaving(), steps);
    // A flood is all fresh rows: they are not copied for the append, which
    // its single block does without.
    const bool allFresh = fold.AllFresh();
    std::vector<ListedRow> fresh = allFresh ? std::vector<ListedRow>() : fold.Fresh();
    std::vector<ListedRow> arriving = fold.TakeArriving();
    if (arriving.empty()) {
        return steps;
    }
    OrderAsInserted(arriving, ordering);
    if (!fold.AnyGone() && allFresh && AddBlock(listed, arriving, ordering, steps)) {
        return steps;
    }
    std::vector<std::size_t> at;
    std::vector<ListedRow> merged = fold.AnyGone()
                                        ? MergeArrivals(fold.Survivors(), arriving, ordering, at)
                                        : MergeArrivals(listed, arriving, ordering, at);
    if (!fold.Moved() && at.back() - at.front() + 1 == at.size()) {
        // The new rows land side by side among the rows that stay.
        const auto from = merged.begin() + static_cast<std::ptrdiff_t>(at.front());
        steps.push_back(Step::Inserted(
            at.front(),
            std::vector<ListedRow>(from, from + static_cast<std::ptrdiff_t>(at.size()))));
        return steps;
    }
    if (allFresh) {
        fresh = arriving;
    }
    if (!fresh.empty()) {
        const std::size_t end = listed.size() - fold.Leaving().size();
        steps.push_back(Step::Inserted(end, std::move(fresh)));
    }
    steps.push_back(Step::Reordered(std::move(merged)));
    return steps;
}

}  // namespace korvana
