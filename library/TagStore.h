#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/TrackTags.h"

namespace korvana {

// The library's tag cache on disk, so that a start reads again only the
// files that changed while the program was not running.
using StoredTags = TagCache::Entry;

inline constexpr std::size_t kMostStoredTags = 200'000;
inline constexpr std::size_t kMostTagStoreBytes = 96 * 1024 * 1024;

// The files as compact JSON.
std::string TagStoreText(const std::vector<StoredTags>& files);
// Reads what TagStoreText wrote. Outside input all the same (the file can be
// edited or cut short): bounded, checked, and none when unreadable. Entries
// without a path or with a negative size or time are skipped; texts longer
// than TrackTags::kMaxTagText are cut, negative numbers become 0 (unknown).
std::optional<std::vector<StoredTags>> ReadTagStore(std::string_view text);

// Writes the files whole (SaveFileWhole). False when it could not.
bool SaveTagStore(const std::filesystem::path& file, const std::vector<StoredTags>& files);
// What `file` holds; nothing when it is missing or unreadable.
std::vector<StoredTags> LoadTagStore(const std::filesystem::path& file);

}  // namespace korvana
