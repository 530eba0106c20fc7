#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "library/LibraryEntry.h"
#include "library/LibraryScanner.h"
#include "library/LibrarySort.h"

namespace korvana {

// One change of the library list's rows, for a table model to apply in
// order: `row` is the index at the moment of that change.
struct RowEvent {
    enum class Kind {
        Inserted,  // `entries` now are rows `row` onward
        Removed,   // `count` rows from row `row` are gone
        Resized,   // row `row` now shows `entry` and moves to row `to`
        Reset,     // every row changed: read Rows() again
    };
    Kind kind = Kind::Reset;
    std::size_t row = 0;
    LibraryEntry entry;                 // Resized only
    std::size_t to = 0;                 // Resized only: the row's index after the move
    std::vector<LibraryEntry> entries;  // Inserted only
    std::size_t count = 0;              // Removed only
};

// The images a column header shows.
inline constexpr int kHeaderUnsorted = 0;
inline constexpr int kHeaderDescending = 1;
inline constexpr int kHeaderAscending = 2;

// The library list: the rows as shown, the listing of the latest applied
// scan, and the sort order. A scan adds, removes and moves rows and never
// rebuilds the list, so selections held by row survive, unless it changes
// so much that one rebuild costs the views less than the single changes
// (more than kMostRowEvents of them). Used on the GUI thread; each change
// runs under `library_lock`.
class LibraryModel {
  public:
    static constexpr std::size_t kMostRowEvents = 64;

    // The files new since the last scan go in at their sorted places in one
    // merge, each run of neighbouring new rows as one event; the row of each
    // file whose size changed shows the new size and moves to its sorted
    // place; the rows of files gone are removed, each run as one event. A
    // file seen while it was still being written thus never keeps its
    // partial size. Paths compare exactly: two files whose names differ only
    // in case are two files. The first scan, or any scan applied to an empty
    // list, fills the list at once and reports one Reset.
    std::vector<RowEvent> ApplyScan(std::vector<LibraryEntry> scan);
    // The files whose size alone changed since the last scan.
    std::vector<RowEvent> ApplyResized(const std::vector<LibraryEntry>& resized);
    // Whichever of the two the scan calls for.
    std::vector<RowEvent> Apply(LibraryScan scan);
    // Scans and applies at once, for callers that do not scan off the GUI
    // thread.
    std::vector<RowEvent> Refresh(LibraryScanner& scanner);

    // A click on a column header: the sort column flips between descending
    // and ascending; another column becomes the sort column, descending. The
    // rows are rebuilt from the listing (one Reset).
    std::vector<RowEvent> ClickColumn(int column);

    const std::vector<LibraryEntry>& Rows() const { return rows_; }
    const std::vector<LibraryEntry>& Listing() const { return listing_; }
    LibrarySort Sort() const { return sort_; }
    // kHeaderUnsorted, kHeaderDescending or kHeaderAscending.
    int HeaderImage(int column) const;

    // The rows at the given indexes, in the given order; indexes past the
    // end are skipped.
    std::vector<LibraryEntry> EntriesAt(const std::vector<std::size_t>& rows) const;

  private:
    std::vector<RowEvent> Rebuild();
    std::vector<RowEvent> ChangeRows(std::vector<LibraryEntry> arrived,
                                     std::vector<LibraryEntry> resized,
                                     const std::vector<LibraryEntry>& gone);
    void InsertRows(std::vector<LibraryEntry> arrived, std::vector<RowEvent>& events);
    void ResizeRow(const LibraryEntry& entry, std::vector<RowEvent>& events);
    void RemoveRows(const std::vector<LibraryEntry>& gone, std::vector<RowEvent>& events);

    mutable std::mutex library_lock;
    std::vector<LibraryEntry> rows_;
    std::vector<LibraryEntry> listing_;
    LibrarySort sort_;
};

}  // namespace korvana
