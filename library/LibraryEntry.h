#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvana {

// One file found in the downloads folder. `size` is the number that
// `sizeText` shows, kept so that sorting never parses text.
struct LibraryEntry {
    std::string fileName;  // the part of fullPath after its last '/'
    std::string sizeText;  // the size in bytes in decimal; "0" when unreadable
    std::string fullPath;  // folder, '/', name, at every folder level
    std::int64_t size = 0;

    bool operator==(const LibraryEntry&) const = default;
};

LibraryEntry MakeLibraryEntry(std::string fullPath, std::int64_t size);

}  // namespace korvana
