#include "search/ResultList.h"

#include <algorithm>

namespace korvana {
namespace {

struct Arrival {
    ListedRow row;
    bool fresh = true;
};

// Folds the batch into the rows that arrive (in order) and the marks of
// current rows that leave their place.
class BatchFold {
  public:
    explicit BatchFold(const std::vector<ListedRow>& current)
        : current_(current), gone_(current.size(), false) {}

    void Apply(const ListEvent& event, ListPlan& plan) {
        if (event.kind == ListEvent::Kind::Added) {
            arrivals_.push_back({event.row, true});
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
                arrivals_.push_back({event.row, fresh});
            }
            return;
        }
        for (std::size_t i = 0; i < current_.size(); ++i) {
            if (!gone_[i] && current_[i].result == event.row.result) {
                gone_[i] = true;
                anyGone_ = true;
                if (sized) {
                    plan.moved = true;
                    arrivals_.push_back({event.row, false});
                } else {
                    plan.leaving.push_back(i);
                }
                return;
            }
        }
    }

    bool AnyGone() const { return anyGone_; }
    bool AllFresh() const {
        return std::all_of(arrivals_.begin(), arrivals_.end(),
                           [](const Arrival& arrival) { return arrival.fresh; });
    }

    std::vector<ListedRow> Survivors() const {
        std::vector<ListedRow> survivors;
        survivors.reserve(current_.size());
        for (std::size_t i = 0; i < current_.size(); ++i) {
            if (!gone_[i]) {
                survivors.push_back(current_[i]);
            }
        }
        return survivors;
    }

    const std::vector<Arrival>& Arrivals() const { return arrivals_; }

  private:
    const std::vector<ListedRow>& current_;
    std::vector<bool> gone_;
    bool anyGone_ = false;
    std::vector<Arrival> arrivals_;
};

// New rows alone that all land side by side: their places come from a
// binary search each, and the plan keeps them as a block instead of a whole
// new list.
bool PlanBlock(const std::vector<ListedRow>& rows, std::vector<ListedRow> arriving,
               RowOrdering ordering, ListPlan& plan) {
    if (arriving.empty()) {
        return false;
    }
    OrderAsInserted(arriving, ordering);
    std::vector<std::size_t> at;
    at.reserve(arriving.size());
    for (std::size_t i = 0; i < arriving.size(); ++i) {
        at.push_back(InsertPosition(rows, arriving[i], ordering) + i);
        if (at.back() != at.front() + i) {
            return false;
        }
    }
    plan.arrivedAt = std::move(at);
    plan.block = std::move(arriving);
    return true;
}

}  // namespace

ListPlan ResultList::Plan(const std::vector<ListEvent>& events, RowOrdering ordering) const {
    ListPlan plan;
    BatchFold fold(rows_);
    for (const ListEvent& event : events) {
        fold.Apply(event, plan);
    }
    std::sort(plan.leaving.begin(), plan.leaving.end());
    std::vector<ListedRow> arriving;
    for (const Arrival& arrival : fold.Arrivals()) {
        arriving.push_back(arrival.row);
        if (arrival.fresh) {
            plan.fresh.push_back(arrival.row);
        }
    }
    if (!fold.AnyGone() && fold.AllFresh() && PlanBlock(rows_, arriving, ordering, plan)) {
        return plan;
    }
    // A batch of new rows alone merges into the list as it is: a long list
    // is not copied twice.
    plan.rows = fold.AnyGone() ? MergeArrivals(fold.Survivors(), arriving, ordering, plan.arrivedAt)
                               : MergeArrivals(rows_, arriving, ordering, plan.arrivedAt);
    return plan;
}

void ResultList::Adopt(ListPlan&& plan) {
    if (plan.block.empty()) {
        rows_ = std::move(plan.rows);
        return;
    }
    const auto at = rows_.begin() + static_cast<std::ptrdiff_t>(plan.arrivedAt.front());
    rows_.insert(at, plan.block.begin(), plan.block.end());
}

void ResultList::Erase(std::size_t first, std::size_t count) {
    const auto begin = rows_.begin() + static_cast<std::ptrdiff_t>(first);
    rows_.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
}

void ResultList::Append(const std::vector<ListedRow>& rows) {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
}

}  // namespace korvana
