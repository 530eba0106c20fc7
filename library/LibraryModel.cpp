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
    if (rows_.empty()) {
        if (!scan.empty()) {
            listing_ = std::move(scan);
            Rebuild();
        }
        return;
    }
    std::unordered_map<std::string_view, std::int64_t> listedSizes;
    listedSizes.reserve(listing_.size());
    for (const LibraryEntry& entry : listing_) {
        listedSizes.emplace(entry.fullPath, entry.size);
    }
    std::vector<LibraryEntry> arrived;
    std::vector<LibraryEntry> resized;
    for (const LibraryEntry& entry : scan) {
        const auto listed = listedSizes.find(entry.fullPath);
        if (listed == listedSizes.end()) {
            arrived.push_back(entry);
        } else if (listed->second != entry.size) {
            resized.push_back(entry);
        }
    }
    const std::vector<LibraryEntry> gone = Missing(listing_, scan);
    listing_ = std::move(scan);
    ChangeRows(std::move(arrived), std::move(resized), gone);
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

void LibraryModel::Apply(LibraryScan scan) {
    if (scan.changed) {
        ApplyScan(std::move(scan.entries));
    } else if (!scan.resized.empty()) {
        ApplyResized(scan.resized);
    }
}

// Resized rows move one by one; past kMostRowEvents they are taken out and
// merged back with the arrivals, and the view is reset once.
void LibraryModel::ChangeRows(std::vector<LibraryEntry> arrived, std::vector<LibraryEntry> resized,
                              const std::vector<LibraryEntry>& gone) {
    Steps steps;
    const bool many = resized.size() > kMostRowEvents;
    if (many) {
        RemoveRows(resized, steps);
        std::move(resized.begin(), resized.end(), std::back_inserter(arrived));
    } else {
        for (const LibraryEntry& entry : resized) {
            ResizeRow(entry, steps);
        }
    }
    RemoveRows(gone, steps);
    InsertRows(std::move(arrived), steps);
    Publish(std::move(steps), many);
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

void LibraryModel::ClickColumn(int column) {
    const std::lock_guard lock(library_lock);
    if (column == sort_.column) {
        sort_.ascending = !sort_.ascending;
    } else {
        sort_ = LibrarySort{column, false};
    }
    Rebuild();
}

void LibraryModel::Rebuild() {
    rows_ = SortedRows(listing_, sort_);
    changes_.Replace(Step::Reset(rows_));
}

int LibraryModel::HeaderImage(int column) const {
    const std::lock_guard lock(library_lock);
    if (column != sort_.column) {
        return kHeaderUnsorted;
    }
    return sort_.ascending ? kHeaderAscending : kHeaderDescending;
}

}  // namespace korvana
