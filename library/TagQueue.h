#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "library/LibraryEntry.h"
#include "library/LibraryScanner.h"
#include "library/TrackTags.h"

namespace korvana {

// The files of the library whose tags are still to be read, and the cache
// of those read. A scan is listed at once with what the cache knows (the
// last tags read, even from an older state of a file that grows); the
// files not read in their present state wait here and are read a few at a
// time afterwards, so the listing never waits for the tags. Used by one
// thread at a time: the task that scans the folder.
class TagQueue {
  public:
    // Puts the known tags on the scan's entries and queues those not read
    // as they are now. A scan that lists every file replaces the queue and
    // lets the cache forget files gone; one that lists changed files only
    // adds them.
    void Attach(LibraryScan& scan);
    // Reads the next files waiting, at most `most`, and returns their
    // entries with the tags read.
    std::vector<LibraryEntry> ReadSome(std::size_t most);
    bool Waiting() const { return !waiting_.empty(); }
    const TagCache& Cache() const { return cache_; }

  private:
    void AttachTo(LibraryEntry& entry);

    TagCache cache_;
    std::deque<LibraryEntry> waiting_;
};

}  // namespace korvana
