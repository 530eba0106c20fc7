#include "transfers/FinishedFiles.h"

#include <algorithm>
#include <system_error>

#include "transfers/TransferTexts.h"
#include "web/download/DownloadFileName.h"

namespace korvana {

bool SaysFinished(const DownloadRow& row) {
    if (!row.key.IsCore()) {
        return row.status == status::kFinished;
    }
    return row.status == status::kCoreCompleted || row.status == status::kCoreDownloaded ||
           row.status == status::kCoreShared;
}

std::string FinishedFileName(const DownloadRow& row) {
    if (!row.key.IsCore()) {
        return SafeFileName(row.name);
    }
    std::string name = row.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; }, '_');
    return name;
}

std::optional<std::filesystem::path> FinishedFilePath(
    const DownloadRow& row, const std::filesystem::path& downloadsFolder) {
    const std::string name = FinishedFileName(row);
    if (!SaysFinished(row) || downloadsFolder.empty() || name.empty() || name == "." ||
        name == "..") {
        return std::nullopt;
    }
    std::filesystem::path file = downloadsFolder / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    return file;
}

}  // namespace korvana
