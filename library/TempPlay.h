#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace korvana {

// The player never plays a library file in place: it plays a copy in the
// TempPlay folder, so the library file stays free to be moved or deleted.

// Puts a file into the folder (created when missing) under its own name,
// replacing what is there. On the same disk the copy is a second hard link,
// made at once however long the track: the start of playback runs on the
// GUI thread. Elsewhere, or where the disk refuses links, the bytes are
// copied. Either way the library file can be moved or deleted while its copy
// plays, and clearing the folder leaves it alone. The copy's path, or
// nothing when the copy fails.
std::optional<std::filesystem::path> CopyIntoTempPlay(const std::filesystem::path& tempPlay,
                                                      const std::string& file);

// Deletes every file in the folder that can be deleted; links are removed as
// links.
void ClearTempPlay(const std::filesystem::path& tempPlay);

}  // namespace korvana
