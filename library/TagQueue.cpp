#include "library/TagQueue.h"

#include <string>

namespace korvana {
namespace {

constexpr std::int64_t kSettleNanoseconds = LibraryScanner::kSettleSeconds * 1'000'000'000LL;

// A time ahead of the clock is no sign of a write under way.
bool Settled(const LibraryEntry& entry, std::int64_t now) {
    const std::int64_t age = now - entry.modified;
    return age < 0 || age >= kSettleNanoseconds;
}

}  // namespace

void TagQueue::Attach(LibraryScan& scan, std::int64_t now) {
    if (scan.changed) {
        waiting_.clear();
        unsettled_.clear();
        std::vector<std::string> paths;
        paths.reserve(scan.entries.size());
        for (LibraryEntry& entry : scan.entries) {
            AttachTo(entry, now);
            paths.push_back(entry.fullPath);
        }
        cache_.KeepOnly(paths);
    }
    QueueSettled(now);
    for (LibraryEntry& entry : scan.resized) {
        AttachTo(entry, now);
    }
}

void TagQueue::AttachTo(LibraryEntry& entry, std::int64_t now) {
    TagCache::Known known = cache_.Find(entry.fullPath, StateOf(entry));
    entry.tags = std::move(known.tags);
    if (known.current) {
        return;
    }
    if (!known.read || Settled(entry, now)) {
        waiting_.push_back(entry);
        return;
    }
    // Only the latest state of a file still being written is kept.
    std::erase_if(unsettled_,
                  [&](const LibraryEntry& held) { return held.fullPath == entry.fullPath; });
    unsettled_.push_back(entry);
}

void TagQueue::QueueSettled(std::int64_t now) {
    std::erase_if(unsettled_, [&](LibraryEntry& entry) {
        if (!Settled(entry, now)) {
            return false;
        }
        waiting_.push_back(std::move(entry));
        return true;
    });
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
