#include "library/TagQueue.h"

#include <string>

namespace korvana {

void TagQueue::Attach(LibraryScan& scan) {
    if (scan.changed) {
        waiting_.clear();
        std::vector<std::string> paths;
        paths.reserve(scan.entries.size());
        for (LibraryEntry& entry : scan.entries) {
            AttachTo(entry);
            paths.push_back(entry.fullPath);
        }
        cache_.KeepOnly(paths);
    }
    for (LibraryEntry& entry : scan.resized) {
        AttachTo(entry);
    }
}

void TagQueue::AttachTo(LibraryEntry& entry) {
    TagCache::Known known = cache_.Find(entry.fullPath, StateOf(entry));
    entry.tags = std::move(known.tags);
    if (!known.current) {
        waiting_.push_back(entry);
    }
}

std::vector<LibraryEntry> TagQueue::ReadSome(std::size_t most) {
    std::vector<LibraryEntry> read;
    while (!waiting_.empty() && read.size() < most) {
        LibraryEntry entry = std::move(waiting_.front());
        waiting_.pop_front();
        entry.tags = cache_.TagsOf(entry.fullPath, StateOf(entry));
        read.push_back(std::move(entry));
    }
    return read;
}

}  // namespace korvana
