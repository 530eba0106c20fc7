#include "library/LibraryEntry.h"

#include <algorithm>

namespace korvana {

LibraryEntry MakeLibraryEntry(std::string fullPath, std::int64_t size, std::int64_t modified) {
    LibraryEntry entry;
    const std::size_t slash = fullPath.rfind('/');
    entry.fileName = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    entry.size = std::max<std::int64_t>(size, 0);
    entry.sizeText = std::to_string(entry.size);
    entry.fullPath = std::move(fullPath);
    entry.modified = modified;
    return entry;
}

// A typed word holds no white space, so the line breaks keep a word from
// matching across two fields.
std::string FilterText(const LibraryEntry& entry) {
    std::string text;
    text.reserve(entry.fileName.size() + entry.tags.artist.size() + entry.tags.title.size() +
                 entry.tags.album.size() + 3);
    text.append(entry.fileName).append(1, '\n').append(entry.tags.artist);
    text.append(1, '\n').append(entry.tags.title).append(1, '\n').append(entry.tags.album);
    return text;
}

}  // namespace korvana
