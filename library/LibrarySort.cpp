#include "library/LibrarySort.h"

#include <algorithm>
#include <iterator>

#include "util/AsciiCase.h"

namespace korvana {

namespace {

// Whether `row` comes strictly before `entry` in the sort order.
bool Before(const LibraryEntry& row, const LibraryEntry& entry, const LibrarySort& sort) {
    if (sort.column == kSizeColumn) {
        return sort.ascending ? row.size < entry.size : row.size > entry.size;
    }
    const int order = CompareIgnoringCase(row.fileName, entry.fileName);
    return sort.ascending ? order < 0 : order > 0;
}

bool Sortable(const LibrarySort& sort) {
    return sort.column == kSizeColumn || sort.column == kFilenameColumn;
}

}  // namespace

std::size_t SortedInsertIndex(const std::vector<LibraryEntry>& rows, const LibraryEntry& entry,
                              const LibrarySort& sort) {
    if (!Sortable(sort)) {
        return 0;
    }
    // The first row that the entry comes before; equal rows stay in front.
    const auto found = std::partition_point(rows.begin(), rows.end(), [&](const LibraryEntry& row) {
        return !Before(entry, row, sort);
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
        return Before(a, b, sort);
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
        [&](const LibraryEntry& a, const LibraryEntry& b) { return Before(a, b, sort); });
    std::vector<LibraryEntry> merged;
    merged.reserve(rows.size() + arrivals.size());
    auto row = rows.begin();
    for (LibraryEntry& arrival : arrivals) {
        // Rows equal to the arrival stay in front of it.
        while (row != rows.end() && !Before(arrival, *row, sort)) {
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
