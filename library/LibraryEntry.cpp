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

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    const auto fold = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = fold(a[i]) - fold(b[i]);
        if (difference != 0) {
            return difference;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace korvana
