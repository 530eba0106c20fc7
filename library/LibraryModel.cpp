#include "library/LibraryModel.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace korvana {

namespace {

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
    std::vector<RowEvent> events;
    for (const LibraryEntry& entry : scan) {
        const auto listed = listedSizes.find(entry.fullPath);
        if (listed == listedSizes.end()) {
            InsertRow(entry, events);
        } else if (listed->second != entry.size) {
            ResizeRow(entry, events);
        }
    }
    RemoveRows(Missing(listing_, scan), events);
    listing_ = std::move(scan);
    return events;
}

void LibraryModel::InsertRow(const LibraryEntry& entry, std::vector<RowEvent>& events) {
    const std::size_t row = SortedInsertIndex(rows_, entry, sort_);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), entry);
    events.push_back({RowEvent::Kind::Inserted, row, entry});
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
    events.push_back({RowEvent::Kind::Resized, from, entry, to});
}

// One pass over the rows; each event's index counts the removals before it.
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
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (paths.erase(rows_[i].fullPath) > 0) {
            events.push_back({RowEvent::Kind::Removed, kept, {}});
        } else {
            if (kept != i) {
                rows_[kept] = std::move(rows_[i]);
            }
            ++kept;
        }
    }
    rows_.resize(kept);
}

std::vector<RowEvent> LibraryModel::Refresh(LibraryScanner& scanner) {
    const std::lock_guard lock(library_lock);
    LibraryScan scan = scanner.Scan();
    if (!scan.changed) {
        return {};
    }
    return ApplyScan(std::move(scan.entries));
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
    return {RowEvent{RowEvent::Kind::Reset, 0, {}}};
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
