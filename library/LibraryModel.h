#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

#include "library/LibraryEntry.h"
#include "library/LibraryScanner.h"
#include "library/LibrarySort.h"
#include "util/RowChangeQueue.h"
#include "util/WordFilter.h"

namespace korvana {

// The images a column header shows.
inline constexpr int kHeaderUnsorted = 0;
inline constexpr int kHeaderDescending = 1;
inline constexpr int kHeaderAscending = 2;

// The library list: the rows the filter shows in sort order, the listing
// of the latest applied scan, the sort order and the filter. Each change of the rows is queued as
// RowChange steps for the view, whose notice is raised. A scan adds,
// removes and moves rows and never rebuilds the list, so selections held by
// row survive, unless it changes so much that one rebuild costs the view
// less than the single changes (more than kMostRowEvents of them, counting
// what waits untaken). Used on the GUI thread; each change runs under
// `library_lock`.
class LibraryModel {
  public:
    static constexpr std::size_t kMostRowEvents = 64;
    // Rows changed in place in more runs than this reach the view as one
    // change over their whole span, so that tags filling in never add up
    // to a rebuild.
    static constexpr std::size_t kMostChangedRuns = 8;

    // The files new since the last scan go in at their sorted places in one
    // merge, each run of neighbouring new rows as one insertion; the row of
    // each file whose size changed moves to its sorted place and then shows
    // the new size; the rows of files gone are removed, each run as one
    // removal. A file seen while it was still being written thus never
    // keeps its partial size. Paths compare exactly: two files whose names
    // differ only in case are two files. The first scan, or any scan
    // applied to an empty list, fills the list at once in one Reset. A scan
    // that changes nothing queues nothing.
    void ApplyScan(std::vector<LibraryEntry> scan);
    // The files whose size or time alone changed since the last scan.
    void ApplyResized(const std::vector<LibraryEntry>& resized);
    // Tags read off the GUI thread, each for the state of its file that its
    // entry names. Shown rows change in place, or move when the list is
    // sorted by what changed; rows the filter now shows or hides come or go.
    void ApplyTags(const std::vector<LibraryEntry>& tagged);
    // Only rows whose file name, artist, title or album hold every typed
    // word are shown; the listing keeps every file.
    void SetFilter(WordFilter filter);
    // Whichever of the two the scan calls for.
    void Apply(LibraryScan scan);
    // Scans and applies at once, for callers that do not scan off the GUI
    // thread.
    void Refresh(LibraryScanner& scanner);

    // A click on a column header: the sort column flips between descending
    // and ascending; another column becomes the sort column, descending. The
    // rows take their new order in one Reordered step.
    void ClickColumn(int column);

    // The steps the rows took since the last take, in order; the notice is
    // lowered.
    RowChanges<LibraryEntry> TakeChanges() { return changes_.Take(); }
    // Raised when steps wait where none did.
    ChangeNotice& Notice() { return changes_.Notice(); }

    const std::vector<LibraryEntry>& Rows() const { return rows_; }
    const std::vector<LibraryEntry>& Listing() const { return listing_; }
    LibrarySort Sort() const { return sort_; }
    // kHeaderUnsorted, kHeaderDescending or kHeaderAscending.
    int HeaderImage(int column) const;

  private:
    using Steps = RowChanges<LibraryEntry>;

    bool Shown(const LibraryEntry& entry) const;
    void Rebuild();
    // The listing's entries the filter shows, in sort order.
    std::vector<LibraryEntry> ShownSorted() const;
    void ChangeRows(std::vector<LibraryEntry> arrived, std::vector<LibraryEntry> changed,
                    std::vector<LibraryEntry> gone);
    void ChangeInPlace(std::vector<LibraryEntry> changed, std::vector<LibraryEntry>& arrived,
                       std::vector<LibraryEntry>& moved, std::vector<LibraryEntry>& gone,
                       Steps& steps);
    void QueueChanged(const std::vector<std::size_t>& replaced, Steps& steps);
    void Reorder(const std::vector<LibraryEntry>& moved, Steps& steps);
    void InsertRows(std::vector<LibraryEntry> arrived, Steps& steps);
    void ResizeRow(const LibraryEntry& entry, Steps& steps);
    void RemoveRows(const std::vector<LibraryEntry>& gone, Steps& steps);
    void Publish(Steps steps, bool many);

    mutable std::mutex library_lock;
    std::vector<LibraryEntry> rows_;
    std::vector<LibraryEntry> listing_;
    LibrarySort sort_;
    WordFilter filter_;
    RowChangeQueue<LibraryEntry> changes_;
};

}  // namespace korvana
