#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "library/TrackTags.h"

namespace korvana {

// One file found in the downloads folder. `size` is the number that
// `sizeText` shows, kept so that sorting never parses text. `size` and
// `modified` together say which state of the file `tags` were read from.
struct LibraryEntry {
    std::string fileName;  // the part of fullPath after its last '/'
    std::string sizeText;  // the size in bytes in decimal; "0" when unreadable
    std::string fullPath;  // folder, '/', name, at every folder level
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since the file clock's epoch; 0 when unknown
    TrackTags tags;             // empty until read

    bool operator==(const LibraryEntry&) const = default;
};

LibraryEntry MakeLibraryEntry(std::string fullPath, std::int64_t size, std::int64_t modified = 0);

// A row keeps its identity through a new order by its path.
inline const std::string& RowKey(const LibraryEntry& entry) {
    return entry.fullPath;
}

// The state of the file the entry describes, as the tag cache keys it.
inline TagCache::FileState StateOf(const LibraryEntry& entry) {
    return {entry.size, entry.modified};
}

// The text the library's filter box looks for its words in: the file name
// and the artist, title and album.
std::string FilterText(const LibraryEntry& entry);

}  // namespace korvana
