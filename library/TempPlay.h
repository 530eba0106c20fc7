#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace korvana {

// The player never plays a library file in place: it plays a copy in the
// TempPlay folder, so the library file stays free to be moved or deleted.

// Copies a file into the folder (created when missing) under its own name,
// replacing what is there. The copy's path, or nothing when the copy fails.
std::optional<std::filesystem::path> CopyIntoTempPlay(const std::filesystem::path& tempPlay,
                                                      const std::string& file);

// Deletes every file in the folder that can be deleted; links are removed as
// links.
void ClearTempPlay(const std::filesystem::path& tempPlay);

}  // namespace korvana
