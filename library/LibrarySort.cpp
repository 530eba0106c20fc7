#include "library/LibrarySort.h"

#include <algorithm>
#include <iterator>

#include "util/AsciiCase.h"

namespace korvana {

namespace {

const std::string* TextKey(const LibraryEntry& entry, int column) {
    switch (column) {
        case kArtistColumn:
            return &entry.tags.artist;
        case kTitleColumn:
            return &entry.tags.title;
        case kAlbumColumn:
            return &entry.tags.album;
        default:
            return &entry.fileName;
    }
}

std::int64_t NumberKey(const LibraryEntry& entry, int column) {
    switch (column) {
        case kLengthColumn:
            return entry.tags.lengthSeconds;
        case kBitrateColumn:
            return entry.tags.bitrateKbps;
        default:
            return entry.size;
    }
}

// Negative, zero or positive as `a` sorts before, with or after `b` going
// up, and whether the key of each is missing.
struct KeyOrder {
    int order = 0;
    bool aMissing = false;
    bool bMissing = false;
};

KeyOrder CompareKeys(const LibraryEntry& a, const LibraryEntry& b, int column) {
    if (column == kSizeColumn || column == kLengthColumn || column == kBitrateColumn) {
        const std::int64_t x = NumberKey(a, column);
        const std::int64_t y = NumberKey(b, column);
        const bool tagged = column != kSizeColumn;
        return {x < y ? -1 : (x > y ? 1 : 0), tagged && x <= 0, tagged && y <= 0};
    }
    const std::string& x = *TextKey(a, column);
    const std::string& y = *TextKey(b, column);
    const bool tagged = column != kFilenameColumn;
    return {CompareIgnoringCase(x, y), tagged && x.empty(), tagged && y.empty()};
}

}  // namespace

// Missing keys go last both ways, so a new order never starts with blank
// rows.
bool SortsBefore(const LibraryEntry& row, const LibraryEntry& entry, const LibrarySort& sort) {
    const KeyOrder keys = CompareKeys(row, entry, sort.column);
    if (keys.aMissing || keys.bMissing) {
        return !keys.aMissing;
    }
    return sort.ascending ? keys.order < 0 : keys.order > 0;
}

namespace {

bool Sortable(const LibrarySort& sort) {
    return sort.column >= 0 && sort.column < kLibraryColumns && sort.column != kPathColumn;
}

}  // namespace

bool TagColumn(int column) {
    return column >= kArtistColumn && column <= kBitrateColumn;
}

std::size_t SortedInsertIndex(const std::vector<LibraryEntry>& rows, const LibraryEntry& entry,
                              const LibrarySort& sort) {
    if (!Sortable(sort)) {
        return 0;
    }
    // The first row that the entry comes before; equal rows stay in front.
    const auto found = std::partition_point(rows.begin(), rows.end(), [&](const LibraryEntry& row) {
        return !SortsBefore(entry, row, sort);
    });
    return static_cast<std::size_t>(found - rows.begin());
}

std::vector<LibraryEntry> SortedRows(const std::vector<LibraryEntry>& listing,
                                     const LibrarySort& sort) {
    if (!Sortable(sort)) {
        // Every entry goes in at the top: the listing upside down.
        return {listing.rbegin(), listing.rend()};
    }
    std::vector<LibraryEntry> rows = listing;
    std::stable_sort(rows.begin(), rows.end(), [&](const LibraryEntry& a, const LibraryEntry& b) {
        return SortsBefore(a, b, sort);
    });
    return rows;
}

std::vector<std::size_t> MergeSortedRows(std::vector<LibraryEntry>& rows,
                                         std::vector<LibraryEntry> arrivals,
                                         const LibrarySort& sort) {
    std::vector<std::size_t> placed;
    placed.reserve(arrivals.size());
    if (!Sortable(sort)) {
        // Each goes in at the top, above the ones before it.
        std::reverse(arrivals.begin(), arrivals.end());
        for (std::size_t i = 0; i < arrivals.size(); ++i) {
            placed.push_back(i);
        }
        rows.insert(rows.begin(), std::make_move_iterator(arrivals.begin()),
                    std::make_move_iterator(arrivals.end()));
        return placed;
    }
    std::stable_sort(
        arrivals.begin(), arrivals.end(),
        [&](const LibraryEntry& a, const LibraryEntry& b) { return SortsBefore(a, b, sort); });
    std::vector<LibraryEntry> merged;
    merged.reserve(rows.size() + arrivals.size());
    auto row = rows.begin();
    for (LibraryEntry& arrival : arrivals) {
        // Rows equal to the arrival stay in front of it.
        while (row != rows.end() && !SortsBefore(arrival, *row, sort)) {
            merged.push_back(std::move(*row++));
        }
        placed.push_back(merged.size());
        merged.push_back(std::move(arrival));
    }
    std::move(row, rows.end(), std::back_inserter(merged));
    rows = std::move(merged);
    return placed;
}

}  // namespace korvana
