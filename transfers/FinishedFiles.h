#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "transfers/TransferRows.h"

namespace korvana {

// Whether a row says its file is complete: a web download finished, or a
// core download completed, downloaded or shared.
bool SaysFinished(const DownloadRow& row);

// The names a finished download's file may have in the downloads folder,
// most likely first. A web download is saved under its name made safe, or,
// when that was taken, the first free "name (1).mp3"; the core turns
// slashes into "_" and, when the name was taken, adds "_1", "_2" to it.
std::string FinishedFileName(const DownloadRow& row, int number = 0);

// How many taken names are passed over at most while looking for a file.
inline constexpr int kMostNumberedNames = 32;

// Where a finished download's file lies: the first of its possible names
// in the downloads folder that is a regular file of the download's size
// (a file of another size is another download of the same name). None
// when the row is not finished, or no such file is there (moved, deleted,
// or still with the core).
std::optional<std::filesystem::path> FinishedFilePath(const DownloadRow& row,
                                                      const std::filesystem::path& downloadsFolder);

}  // namespace korvana
