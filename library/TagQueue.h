#pragma once

#include <cstddef>
#include <cstdint>
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
// time afterwards, so the listing never waits for the tags. A file that
// was read already and changed again less than LibraryScanner::
// kSettleSeconds ago is read again only once it has settled: one still
// being written would be read at every scan, and a reader may walk all of
// a file to find its first audio frame. Used by one thread at a time: the
// task that scans the folder.
class TagQueue {
  public:
    // Puts the known tags on the scan's entries and queues those not read
    // as they are now. A scan that lists every file replaces the queue and
    // lets the cache forget files gone; one that lists changed files only
    // adds them. `now` is in the files' time (nanoseconds since the epoch);
    // files that settled since the last call join the queue.
    void Attach(LibraryScan& scan, std::int64_t now);
    // Reads the next files waiting, at most `most`, and returns their
    // entries with the tags read.
    std::vector<LibraryEntry> ReadSome(std::size_t most);
    bool Waiting() const { return !waiting_.empty(); }
    const TagCache& Cache() const { return cache_; }
    // Tags an earlier run read (TagCache::Remember).
    void Remember(std::vector<TagCache::Entry> entries) { cache_.Remember(std::move(entries)); }

  private:
    void AttachTo(LibraryEntry& entry, std::int64_t now);
    void QueueSettled(std::int64_t now);

    TagCache cache_;
    std::deque<LibraryEntry> waiting_;
    std::vector<LibraryEntry> unsettled_;
};

}  // namespace korvana
