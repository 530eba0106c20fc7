#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace korvana {

// Writes `text` so that a crash or a full disk at any moment leaves either
// the old file or the new one, whole: a temporary file beside it, flushed
// to disk, then renamed over it. The folder is made when missing. False
// when it could not.
bool SaveFileWhole(const std::filesystem::path& file, const std::string& text);

// The file's bytes; none when it is missing, unreadable or longer than
// `mostBytes`.
std::optional<std::string> LoadFileUpTo(const std::filesystem::path& file, std::size_t mostBytes);

}  // namespace korvana
