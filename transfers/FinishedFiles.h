#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "transfers/TransferRows.h"

namespace korvana {

// Whether a row says its file is complete: a web download finished, or a
// core download completed, downloaded or shared.
bool SaysFinished(const DownloadRow& row);

// The file systems whose names the core makes its files' names fit: on a
// folder of a Windows file system (FAT, NTFS, a Windows share) it changes
// more characters than elsewhere.
enum class CoreNameRules { Posix, Windows };

// The longest file name most file systems hold, in bytes.
inline constexpr std::size_t kCommonLongestName = 255;

// The name the core gives a finished download's file in its downloads
// folder: "/", "\", "<", ">" and '"' become "_" (on Windows file systems
// also "*", "?", "|" and ":", leading dots and trailing dots and spaces go)
// and, when the name was taken, "_1", "_2" ... is added to it. A name of
// `longest` bytes or more (when not 0) is cut to `longest`, keeping what
// follows its first dot.
std::string CoreFileName(const std::string& name, CoreNameRules rules, int number = 0,
                         std::size_t longest = 0);

// How many taken names are passed over at most while looking for a file.
inline constexpr int kMostNumberedNames = 32;

// Where a finished download's file lies. A web download's is the file it
// was saved as, while it is still a regular file of the download's size. A
// core download's is the first of the core's possible names for it in
// the downloads folder that is a regular file of the download's size (a
// file of another size is another download of the same name). None when
// the row is not finished, or no such file is there (moved, deleted, or
// still with the core).
std::optional<std::filesystem::path> FinishedFilePath(const DownloadRow& row,
                                                      const std::filesystem::path& downloadsFolder);

}  // namespace korvana
