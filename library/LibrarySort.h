#pragma once

#include <cstddef>
#include <vector>

#include "library/LibraryEntry.h"

namespace korvana {

// The library list's columns.
inline constexpr int kFilenameColumn = 0;
inline constexpr int kSizeColumn = 1;
inline constexpr int kPathColumn = 2;  // hidden; holds fullPath
// What the file's tags and audio stream say; empty until read.
inline constexpr int kArtistColumn = 3;
inline constexpr int kTitleColumn = 4;
inline constexpr int kAlbumColumn = 5;
inline constexpr int kLengthColumn = 6;
inline constexpr int kBitrateColumn = 7;
inline constexpr int kLibraryColumns = 8;

// Whether rows sorted by `column` may move when their tags arrive.
bool TagColumn(int column);

// Which column the rows are ordered by, and which way. New pages start
// with the biggest files first.
struct LibrarySort {
    int column = kSizeColumn;
    bool ascending = false;

    bool operator==(const LibrarySort&) const = default;
};

// Whether `row` comes strictly before `entry` in `sort` order.
bool SortsBefore(const LibraryEntry& row, const LibraryEntry& entry, const LibrarySort& sort);

// The row index at which an entry goes in rows that are in `sort` order:
// after every row whose key equals the entry's, before the first row that
// belongs after it (size, length and bit rate as numbers, name and tag
// texts ignoring case). A row with no tag text, or an unknown length or bit
// rate, goes after every row that has one, whichever the direction. For the
// hidden path column the entry goes first. A binary search; the rows must be in order,
// which holds for rows built only by this rule.
std::size_t SortedInsertIndex(const std::vector<LibraryEntry>& rows, const LibraryEntry& entry,
                              const LibrarySort& sort);

// The rows that inserting every entry of `listing` in turn with
// SortedInsertIndex gives, built in one sort instead of one insert per entry.
std::vector<LibraryEntry> SortedRows(const std::vector<LibraryEntry>& listing,
                                     const LibrarySort& sort);

// Puts `arrivals` into `rows` (in `sort` order) where inserting each in
// turn with SortedInsertIndex would, in one sort of the arrivals and one
// merge. Returns the indexes the arrivals have in the merged rows, ascending.
std::vector<std::size_t> MergeSortedRows(std::vector<LibraryEntry>& rows,
                                         std::vector<LibraryEntry> arrivals,
                                         const LibrarySort& sort);

}  // namespace korvana
