#include "library/LibraryModel.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace korvana {

namespace {

using Step = RowChange<LibraryEntry>;

// A resize is two steps, a move and the new size, but one change.
std::size_t ChangeCount(const RowChanges<LibraryEntry>& steps) {
    return steps.size() -
           static_cast<std::size_t>(std::count_if(steps.begin(), steps.end(), [](const Step& step) {
               return step.kind == Step::Kind::Moved;
           }));
}

// The entries of `from` whose paths are not in `other`, in order.
std::vector<LibraryEntry> Missing(const std::vector<LibraryEntry>& from,
                                  const std::vector<LibraryEntry>& other) {
    std::unordered_set<std::string_view> paths;
    paths.reserve(other.size());
    for (const LibraryEntry& entry : other) {
        paths.insert(entry.fullPath);
    }
    std::vector<LibraryEntry> missing;
    for (const LibraryEntry& entry : from) {
        if (paths.count(entry.fullPath) == 0) {
            missing.push_back(entry);
        }
    }
    return missing;
}

}  // namespace

void LibraryModel::ApplyScan(std::vector<LibraryEntry> scan) {
    const std::lock_guard lock(library_lock);
    if (listing_.empty()) {
        if (!scan.empty()) {
            listing_ = std::move(scan);
            Rebuild();
        }
        return;
    }
    std::unordered_map<std::string_view, const LibraryEntry*> listed;
    listed.reserve(listing_.size());
    for (const LibraryEntry& entry : listing_) {
        listed.emplace(entry.fullPath, &entry);
    }
    std::vector<LibraryEntry> arrived;
    std::vector<LibraryEntry> changed;
    for (const LibraryEntry& entry : scan) {
        const auto found = listed.find(entry.fullPath);
        if (found == listed.end()) {
            if (Shown(entry)) {
                arrived.push_back(entry);
            }
        } else if (*found->second != entry) {
            changed.push_back(entry);
        }
    }
    std::vector<LibraryEntry> gone = Missing(listing_, scan);
    listing_ = std::move(scan);
    ChangeRows(std::move(arrived), std::move(changed), std::move(gone));
}

// One walk over the listing with the changed paths at hand; no set of every
// path is built.
void LibraryModel::ApplyResized(const std::vector<LibraryEntry>& resized) {
    const std::lock_guard lock(library_lock);
    std::unordered_map<std::string_view, const LibraryEntry*> sizes;
    for (const LibraryEntry& entry : resized) {
        sizes.emplace(entry.fullPath, &entry);
    }
    std::vector<LibraryEntry> known;
    for (LibraryEntry& listed : listing_) {
        if (const auto found = sizes.find(listed.fullPath); found != sizes.end()) {
            listed = *found->second;
            known.push_back(listed);
        }
    }
    ChangeRows({}, std::move(known), {});
}

// Tags read from a state of the file that the listing no longer holds are
// dropped: a newer scan has the file waiting for a fresh read.
void LibraryModel::ApplyTags(const std::vector<LibraryEntry>& tagged) {
    const std::lock_guard lock(library_lock);
    std::unordered_map<std::string_view, const LibraryEntry*> read;
    for (const LibraryEntry& entry : tagged) {
        read.emplace(entry.fullPath, &entry);
    }
    std::vector<LibraryEntry> changed;
    for (LibraryEntry& listed : listing_) {
        const auto found = read.find(listed.fullPath);
        if (found != read.end() && StateOf(listed) == StateOf(*found->second) &&
            listed.tags != found->second->tags) {
            listed.tags = found->second->tags;
            changed.push_back(listed);
        }
    }
    ChangeRows({}, std::move(changed), {});
}

// Typing more only hides rows, so only the shown rows are looked at.
void LibraryModel::SetFilter(WordFilter filter) {
    const std::lock_guard lock(library_lock);
    if (filter == filter_) {
        return;
    }
    const bool narrows = filter.Narrows(filter_);
    filter_ = std::move(filter);
    if (!narrows) {
        Rebuild();
        return;
    }
    std::vector<LibraryEntry> hidden;
    for (const LibraryEntry& row : rows_) {
        if (!Shown(row)) {
            hidden.push_back(row);
        }
    }
    Steps steps;
    RemoveRows(hidden, steps);
    Publish(std::move(steps), false);
}

bool LibraryModel::Shown(const LibraryEntry& entry) const {
    return filter_.Empty() || filter_.Matches(FilterText(entry));
}

void LibraryModel::Apply(LibraryScan scan) {
    if (scan.changed) {
        ApplyScan(std::move(scan.entries));
    } else if (!scan.resized.empty()) {
        ApplyResized(scan.resized);
    }
}

// Changed rows whose sort key holds change in place; the others move one
// by one, or past kMostRowEvents are taken out and merged back with the
// arrivals, and the view is reset once. Rows that only changed their place
// keep it in one reordering, which keeps the view's selection.
void LibraryModel::ChangeRows(std::vector<LibraryEntry> arrived, std::vector<LibraryEntry> changed,
                              std::vector<LibraryEntry> gone) {
    Steps steps;
    std::vector<LibraryEntry> moved;
    ChangeInPlace(std::move(changed), arrived, moved, gone, steps);
    const bool many = moved.size() > kMostRowEvents;
    if (many && arrived.empty() && gone.empty()) {
        Reorder(moved, steps);
        Publish(std::move(steps), false);
        return;
    }
    if (many) {
        RemoveRows(moved, steps);
        std::move(moved.begin(), moved.end(), std::back_inserter(arrived));
    } else {
        for (const LibraryEntry& entry : moved) {
            ResizeRow(entry, steps);
        }
    }
    RemoveRows(gone, steps);
    InsertRows(std::move(arrived), steps);
    Publish(std::move(steps), many);
}

// One walk over the rows sorts the changed entries: shown and still in
// order (changed here), shown and out of order (`moved`), no longer
// matching the filter (`gone`), newly matching it (`arrived`). Scattered
// changes reach the view as one change over their span.
void LibraryModel::ChangeInPlace(std::vector<LibraryEntry> changed,
                                 std::vector<LibraryEntry>& arrived,
                                 std::vector<LibraryEntry>& moved, std::vector<LibraryEntry>& gone,
                                 Steps& steps) {
    std::unordered_map<std::string_view, LibraryEntry*> pending;
    for (LibraryEntry& entry : changed) {
        pending.emplace(entry.fullPath, &entry);
    }
    std::vector<std::size_t> replaced;
    for (std::size_t i = 0; i < rows_.size() && !pending.empty(); ++i) {
        const auto found = pending.find(rows_[i].fullPath);
        if (found == pending.end()) {
            continue;
        }
        LibraryEntry& entry = *found->second;
        pending.erase(found);
        if (!Shown(entry)) {
            gone.push_back(std::move(entry));
        } else if (SortsBefore(rows_[i], entry, sort_) || SortsBefore(entry, rows_[i], sort_)) {
            moved.push_back(std::move(entry));
        } else {
            rows_[i] = std::move(entry);
            replaced.push_back(i);
        }
    }
    for (const auto& [path, entry] : pending) {
        if (Shown(*entry)) {
            arrived.push_back(std::move(*entry));
        }
    }
    QueueChanged(replaced, steps);
}

void LibraryModel::QueueChanged(const std::vector<std::size_t>& replaced, Steps& steps) {
    if (replaced.empty()) {
        return;
    }
    const auto rowsFrom = [this](std::size_t first, std::size_t last) {
        return std::vector<LibraryEntry>(rows_.begin() + static_cast<std::ptrdiff_t>(first),
                                         rows_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    };
    Steps runs;
    for (std::size_t i = 0; i < replaced.size();) {
        std::size_t end = i + 1;
        while (end < replaced.size() && replaced[end] == replaced[end - 1] + 1) {
            ++end;
        }
        runs.push_back(Step::Changed(replaced[i], rowsFrom(replaced[i], replaced[end - 1])));
        i = end;
    }
    if (runs.size() > kMostChangedRuns) {
        runs = {Step::Changed(replaced.front(), rowsFrom(replaced.front(), replaced.back()))};
    }
    std::move(runs.begin(), runs.end(), std::back_inserter(steps));
}

// The moved rows take their new contents and the shown rows their new order.
void LibraryModel::Reorder(const std::vector<LibraryEntry>& moved, Steps& steps) {
    std::unordered_map<std::string_view, const LibraryEntry*> updates;
    for (const LibraryEntry& entry : moved) {
        updates.emplace(entry.fullPath, &entry);
    }
    for (LibraryEntry& row : rows_) {
        if (const auto found = updates.find(row.fullPath); found != updates.end()) {
            row = *found->second;
        }
    }
    std::stable_sort(
        rows_.begin(), rows_.end(),
        [this](const LibraryEntry& a, const LibraryEntry& b) { return SortsBefore(a, b, sort_); });
    steps.push_back(Step::Reordered(rows_));
}

// Past the limit, counting the steps the view has not taken yet, one Reset
// replaces them all.
void LibraryModel::Publish(Steps steps, bool many) {
    if (many || ChangeCount(steps) + changes_.Waiting() > kMostRowEvents) {
        changes_.Replace(Step::Reset(rows_));
        return;
    }
    for (Step& step : steps) {
        changes_.Queue(std::move(step));
    }
}

void LibraryModel::InsertRows(std::vector<LibraryEntry> arrived, Steps& steps) {
    if (arrived.empty()) {
        return;
    }
    const std::vector<std::size_t> placed = MergeSortedRows(rows_, std::move(arrived), sort_);
    std::size_t changes = ChangeCount(steps);
    for (std::size_t i = 0; i < placed.size() && changes <= kMostRowEvents; ++changes) {
        std::size_t end = i + 1;
        while (end < placed.size() && placed[end] == placed[end - 1] + 1) {
            ++end;
        }
        const auto first = rows_.begin() + static_cast<std::ptrdiff_t>(placed[i]);
        const auto last = rows_.begin() + static_cast<std::ptrdiff_t>(placed[end - 1]) + 1;
        steps.push_back(Step::Inserted(placed[i], std::vector<LibraryEntry>(first, last)));
        i = end;
    }
}

// The row is taken out and put back at its sorted place.
void LibraryModel::ResizeRow(const LibraryEntry& entry, Steps& steps) {
    const auto shown = std::find_if(rows_.begin(), rows_.end(), [&](const LibraryEntry& row) {
        return row.fullPath == entry.fullPath;
    });
    if (shown == rows_.end()) {
        return;
    }
    const auto from = static_cast<std::size_t>(shown - rows_.begin());
    rows_.erase(shown);
    const std::size_t to = SortedInsertIndex(rows_, entry, sort_);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(to), entry);
    if (to != from) {
        steps.push_back(Step::Moved(from, to));
    }
    steps.push_back(Step::Changed(to, {entry}));
}

// One pass over the rows; each run of neighbouring rows is one removal,
// whose index counts the removals before it.
void LibraryModel::RemoveRows(const std::vector<LibraryEntry>& gone, Steps& steps) {
    if (gone.empty()) {
        return;
    }
    std::unordered_set<std::string_view> paths;
    for (const LibraryEntry& entry : gone) {
        paths.insert(entry.fullPath);
    }
    std::size_t kept = 0;
    bool inRun = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (paths.erase(rows_[i].fullPath) > 0) {
            if (!inRun) {
                steps.push_back(Step::Removed(kept, 0));
            }
            ++steps.back().count;
            inRun = true;
            continue;
        }
        inRun = false;
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
        }
        ++kept;
    }
    rows_.resize(kept);
}

// The scan reads only the folder; applying it takes the lock.
void LibraryModel::Refresh(LibraryScanner& scanner) {
    Apply(scanner.Scan());
}

// The shown rows stay the same, so the new order is one reordering, queued
// after whatever the view has not taken yet; the view's selection and
// current row follow their files.
void LibraryModel::ClickColumn(int column) {
    const std::lock_guard lock(library_lock);
    if (column == sort_.column) {
        sort_.ascending = !sort_.ascending;
    } else {
        sort_ = LibrarySort{column, false};
    }
    rows_ = ShownSorted();
    Publish({Step::Reordered(rows_)}, false);
}

void LibraryModel::Rebuild() {
    rows_ = ShownSorted();
    changes_.Replace(Step::Reset(rows_));
}

std::vector<LibraryEntry> LibraryModel::ShownSorted() const {
    if (filter_.Empty()) {
        return SortedRows(listing_, sort_);
    }
    std::vector<LibraryEntry> shown;
    std::copy_if(listing_.begin(), listing_.end(), std::back_inserter(shown),
                 [this](const LibraryEntry& entry) { return Shown(entry); });
    return SortedRows(shown, sort_);
}

int LibraryModel::HeaderImage(int column) const {
    const std::lock_guard lock(library_lock);
    if (column != sort_.column) {
        return kHeaderUnsorted;
    }
    return sort_.ascending ? kHeaderAscending : kHeaderDescending;
}

}  // namespace korvana
