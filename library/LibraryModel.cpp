#include "library/LibraryModel.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace korvana {

namespace {

RowEvent MakeEvent(RowEvent::Kind kind, std::size_t row) {
    RowEvent event;
    event.kind = kind;
    event.row = row;
    return event;
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

std::vector<RowEvent> LibraryModel::ApplyScan(std::vector<LibraryEntry> scan) {
    const std::lock_guard lock(library_lock);
    if (rows_.empty()) {
        listing_ = std::move(scan);
        return Rebuild();
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
    return ChangeRows(std::move(arrived), std::move(resized), gone);
}

// One walk over the listing with the changed paths at hand; no set of every
// path is built.
std::vector<RowEvent> LibraryModel::ApplyResized(const std::vector<LibraryEntry>& resized) {
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
    return ChangeRows({}, std::move(known), {});
}

std::vector<RowEvent> LibraryModel::Apply(LibraryScan scan) {
    if (scan.changed) {
        return ApplyScan(std::move(scan.entries));
    }
    if (!scan.resized.empty()) {
        return ApplyResized(scan.resized);
    }
    return {};
}

// Resized rows move one by one; past kMostRowEvents they are taken out and
// merged back with the arrivals, and the views are reset once.
std::vector<RowEvent> LibraryModel::ChangeRows(std::vector<LibraryEntry> arrived,
                                               std::vector<LibraryEntry> resized,
                                               const std::vector<LibraryEntry>& gone) {
    std::vector<RowEvent> events;
    const bool many = resized.size() > kMostRowEvents;
    if (many) {
        RemoveRows(resized, events);
        std::move(resized.begin(), resized.end(), std::back_inserter(arrived));
    } else {
        for (const LibraryEntry& entry : resized) {
            ResizeRow(entry, events);
        }
    }
    RemoveRows(gone, events);
    InsertRows(std::move(arrived), events);
    if (many || events.size() > kMostRowEvents) {
        return {MakeEvent(RowEvent::Kind::Reset, 0)};
    }
    return events;
}

void LibraryModel::InsertRows(std::vector<LibraryEntry> arrived, std::vector<RowEvent>& events) {
    if (arrived.empty()) {
        return;
    }
    const std::vector<std::size_t> placed = MergeSortedRows(rows_, std::move(arrived), sort_);
    for (std::size_t i = 0; i < placed.size() && events.size() <= kMostRowEvents;) {
        std::size_t end = i + 1;
        while (end < placed.size() && placed[end] == placed[end - 1] + 1) {
            ++end;
        }
        RowEvent event = MakeEvent(RowEvent::Kind::Inserted, placed[i]);
        event.entries.assign(rows_.begin() + static_cast<std::ptrdiff_t>(placed[i]),
                             rows_.begin() + static_cast<std::ptrdiff_t>(placed[end - 1]) + 1);
        events.push_back(std::move(event));
        i = end;
    }
}

// The row is taken out and put back at its sorted place.
void LibraryModel::ResizeRow(const LibraryEntry& entry, std::vector<RowEvent>& events) {
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
    RowEvent event = MakeEvent(RowEvent::Kind::Resized, from);
    event.entry = entry;
    event.to = to;
    events.push_back(std::move(event));
}

// One pass over the rows; each run of neighbouring rows is one event, whose
// index counts the removals before it.
void LibraryModel::RemoveRows(const std::vector<LibraryEntry>& gone,
                              std::vector<RowEvent>& events) {
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
                events.push_back(MakeEvent(RowEvent::Kind::Removed, kept));
            }
            ++events.back().count;
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
std::vector<RowEvent> LibraryModel::Refresh(LibraryScanner& scanner) {
    return Apply(scanner.Scan());
}

std::vector<RowEvent> LibraryModel::ClickColumn(int column) {
    const std::lock_guard lock(library_lock);
    if (column == sort_.column) {
        sort_.ascending = !sort_.ascending;
    } else {
        sort_ = LibrarySort{column, false};
    }
    return Rebuild();
}

std::vector<RowEvent> LibraryModel::Rebuild() {
    rows_ = SortedRows(listing_, sort_);
    return {MakeEvent(RowEvent::Kind::Reset, 0)};
}

int LibraryModel::HeaderImage(int column) const {
    const std::lock_guard lock(library_lock);
    if (column != sort_.column) {
        return kHeaderUnsorted;
    }
    return sort_.ascending ? kHeaderAscending : kHeaderDescending;
}

std::vector<LibraryEntry> LibraryModel::EntriesAt(const std::vector<std::size_t>& rows) const {
    const std::lock_guard lock(library_lock);
    std::vector<LibraryEntry> entries;
    for (const std::size_t row : rows) {
        if (row < rows_.size()) {
            entries.push_back(rows_[row]);
        }
    }
    return entries;
}

}  // namespace korvana
