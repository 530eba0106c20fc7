#pragma once

#include <filesystem>
#include <string>

namespace korvana {

class SettingsStore;

// The program's folders, all under the install folder except the downloads
// folder, which the user may move (settings value `Path`).
struct Folders {
    std::filesystem::path install;
    std::filesystem::path downloads;
    std::filesystem::path incomplete;
    std::filesystem::path tempPlay;
    std::filesystem::path core;
};

// The longest `Path` value that is honoured: the value was read into a
// 260-byte buffer with its terminator, so 259 bytes at most.
inline constexpr std::size_t kMaxPathValueBytes = 259;

// `Path` from the settings when present, not empty and short enough;
// otherwise <install>/Downloads.
std::filesystem::path GetDownloadsFolder(const std::filesystem::path& install,
                                         const SettingsStore& settings);

Folders MakeFolders(const std::filesystem::path& install, const SettingsStore& settings);

}  // namespace korvana
