#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "transfers/TransferRows.h"

namespace korvana {

// Whether a row says its file is complete: a web download finished, or a
// core download completed, downloaded or shared.
bool SaysFinished(const DownloadRow& row);

// The name a finished download's file has in the downloads folder: a web
// download's name made safe as the download saved it; a core download's
// name with the slashes the core turns into "_" when it moves the file
// there.
std::string FinishedFileName(const DownloadRow& row);

// Where a finished download's file lies: in the downloads folder under
// FinishedFileName. None when the row is not finished, or no regular file
// of that name is there (moved, deleted, or still with the core).
std::optional<std::filesystem::path> FinishedFilePath(const DownloadRow& row,
                                                      const std::filesystem::path& downloadsFolder);

}  // namespace korvana
