#include "library/LibraryEntry.h"

#include <algorithm>

namespace korvana {

LibraryEntry MakeLibraryEntry(std::string fullPath, std::int64_t size) {
    LibraryEntry entry;
    const std::size_t slash = fullPath.rfind('/');
    entry.fileName = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    entry.size = std::max<std::int64_t>(size, 0);
    entry.sizeText = std::to_string(entry.size);
    entry.fullPath = std::move(fullPath);
    return entry;
}

}  // namespace korvana
