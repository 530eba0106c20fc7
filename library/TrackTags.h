#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvana {

// What a music file says of itself: its tags (ID3v2, else ID3v1) and, from
// the audio stream, its length and bit rate. Texts are UTF-8, cut to
// kMaxTagText bytes; numbers are 0 when unknown.
struct TrackTags {
    static constexpr std::size_t kMaxTagText = 255;

    std::string artist;
    std::string title;
    std::string album;
    int lengthSeconds = 0;
    int bitrateKbps = 0;

    bool operator==(const TrackTags&) const = default;
};

// Reads one file with TagLib. A file it cannot read, or that is not audio,
// gives empty tags; nothing here throws.
TrackTags ReadTrackTags(const std::filesystem::path& file);
// The same for a whole file held in memory, the format told by its content.
TrackTags ReadTrackTagsFromBytes(std::string_view bytes);

// The tags of the files of a folder, kept between scans so that a rescan
// reads only files that are new or changed (another size or modification
// time). Filled off the GUI thread: each call takes the cache's own lock
// only while it looks up or stores, never while a file is read.
class TagCache {
  public:
    struct FileState {
        std::int64_t size = 0;
        std::int64_t modified = 0;  // nanoseconds since the file clock's epoch
        bool operator==(const FileState&) const = default;
    };

    // What is known of a file without reading it: whether it was read at
    // all, the tags last read from it, and whether they were read from
    // `state`.
    struct Known {
        TrackTags tags;
        bool read = false;
        bool current = false;
    };

    // One file's tags as read from one state of it.
    struct Entry {
        std::string file;
        FileState state;
        TrackTags tags;
        bool operator==(const Entry&) const = default;
    };

    // The tags of `file` as it is now, read when not cached as it is.
    TrackTags TagsOf(const std::string& file, FileState state);
    Known Find(const std::string& file, FileState state) const;
    // Forgets every file not in `kept` (a scan's listing).
    void KeepOnly(const std::vector<std::string>& kept);
    // Files read since the cache was made.
    std::size_t Reads() const;
    // Takes what an earlier run read; files known already keep what is
    // known of them. Not counted as reads.
    void Remember(std::vector<Entry> entries);
    // Every file cached, to keep across restarts.
    std::vector<Entry> Entries() const;

  private:
    struct Cached {
        FileState state;
        TrackTags tags;
    };

    mutable std::mutex mutex_;
    std::unordered_map<std::string, Cached> cached_;
    std::size_t reads_ = 0;
};

}  // namespace korvana
