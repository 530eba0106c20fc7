#include "transfers/FinishedFiles.h"

#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <system_error>

#include "transfers/TransferTexts.h"

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

bool IsChangedByCore(char c, CoreNameRules rules) {
    constexpr std::string_view kEverywhere = "/\\<>\"";
    constexpr std::string_view kOnWindows = "*?|:";
    return kEverywhere.find(c) != std::string_view::npos ||
           (rules == CoreNameRules::Windows && kOnWindows.find(c) != std::string_view::npos);
}

// Cuts a name the folder cannot hold as the core does: to the longest
// length, keeping what follows its first dot.
std::string FitLength(std::string name, std::size_t longest) {
    if (longest == 0 || name.size() < longest) {
        return name;
    }
    const std::size_t dot = name.find('.');
    const std::string ending = dot == std::string::npos ? std::string() : name.substr(dot);
    if (ending.size() > longest) {
        return name.substr(0, longest);
    }
    return name.substr(0, longest - ending.size()) + ending;
}

std::size_t LongestNameIn(const std::filesystem::path& folder) {
    const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : kCommonLongestName;
}

std::optional<std::filesystem::path> FindCoreFile(const DownloadRow& row,
                                                  const std::filesystem::path& folder) {
    const std::size_t longest = LongestNameIn(folder);
    for (int number = 0; number <= kMostNumberedNames; ++number) {
        for (const CoreNameRules rules : {CoreNameRules::Posix, CoreNameRules::Windows}) {
            const std::string name = CoreFileName(row.name, rules, number, longest);
            if (name.empty() || name == "." || name == "..") {
                continue;
            }
            std::filesystem::path file = folder / name;
            if (IsFileOfSize(file, row.sizeBytes)) {
                return file;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

bool SaysFinished(const DownloadRow& row) {
    if (!row.key.IsCore()) {
        return row.status == status::kFinished;
    }
    return row.status == status::kCoreCompleted || row.status == status::kCoreDownloaded ||
           row.status == status::kCoreShared;
}

std::string CoreFileName(const std::string& name, CoreNameRules rules, int number,
                         std::size_t longest) {
    std::string fitted = name;
    std::replace_if(
        fitted.begin(), fitted.end(), [rules](char c) { return IsChangedByCore(c, rules); }, '_');
    if (rules == CoreNameRules::Windows) {
        fitted.erase(0, std::min(fitted.find_first_not_of('.'), fitted.size()));
        const std::size_t last = fitted.find_last_not_of(". ");
        fitted.erase(last == std::string::npos ? 0 : last + 1);
    }
    fitted = FitLength(std::move(fitted), longest);
    return number == 0 ? fitted : FitLength(fitted + "_" + std::to_string(number), longest);
}

std::optional<std::filesystem::path> FinishedFilePath(
    const DownloadRow& row, const std::filesystem::path& downloadsFolder) {
    if (!SaysFinished(row)) {
        return std::nullopt;
    }
    if (!row.key.IsCore()) {
        if (row.savedFile.empty() || !IsFileOfSize(row.savedFile, row.sizeBytes)) {
            return std::nullopt;
        }
        return row.savedFile;
    }
    if (downloadsFolder.empty()) {
        return std::nullopt;
    }
    return FindCoreFile(row, downloadsFolder);
}

}  // namespace korvana
