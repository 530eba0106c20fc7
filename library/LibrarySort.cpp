#include "library/LibrarySort.h"

#include <algorithm>

#include "core/AsciiCase.h"

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

}  // namespace korvana
