#include "transfers/FinishedFiles.h"

#include <algorithm>
#include <system_error>

#include "transfers/TransferTexts.h"
#include "web/download/DownloadFileName.h"

namespace korvana {
namespace {

bool IsFileOfSize(const std::filesystem::path& file, std::int64_t size) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const std::uintmax_t found = std::filesystem::file_size(file, error);
    return !error && (size <= 0 || found == static_cast<std::uintmax_t>(size));
}

}  // namespace

bool SaysFinished(const DownloadRow& row) {
    if (!row.key.IsCore()) {
        return row.status == status::kFinished;
    }
    return row.status == status::kCoreCompleted || row.status == status::kCoreDownloaded ||
           row.status == status::kCoreShared;
}

std::string FinishedFileName(const DownloadRow& row, int number) {
    if (!row.key.IsCore()) {
        const std::string safe = SafeFileName(row.name);
        return number == 0 ? safe : NumberedFileName(safe, number);
    }
    std::string name = row.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; }, '_');
    return number == 0 ? name : name + "_" + std::to_string(number);
}

std::optional<std::filesystem::path> FinishedFilePath(
    const DownloadRow& row, const std::filesystem::path& downloadsFolder) {
    if (!SaysFinished(row) || downloadsFolder.empty()) {
        return std::nullopt;
    }
    for (int number = 0; number <= kMostNumberedNames; ++number) {
        const std::string name = FinishedFileName(row, number);
        if (name.empty() || name == "." || name == "..") {
            return std::nullopt;
        }
        std::filesystem::path file = downloadsFolder / name;
        if (IsFileOfSize(file, row.sizeBytes)) {
            return file;
        }
    }
    return std::nullopt;
}

}  // namespace korvana
