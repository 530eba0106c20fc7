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
    // A batch of new rows alone, as in a flood, merges into the list as it
    // is: a long list is not copied twice.
    plan.rows = fold.AnyGone() ? MergeArrivals(fold.Survivors(), arriving, ordering, plan.arrivedAt)
                               : MergeArrivals(rows_, arriving, ordering, plan.arrivedAt);
    return plan;
}

void ResultList::Erase(std::size_t first, std::size_t count) {
    const auto begin = rows_.begin() + static_cast<std::ptrdiff_t>(first);
    rows_.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
}

void ResultList::Append(const std::vector<ListedRow>& rows) {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
}

}  // namespace korvana
