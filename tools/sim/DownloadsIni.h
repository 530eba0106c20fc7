#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/CoreMessages.h"
#include "tools/sim/SharedFolders.h"

namespace korvana::sim {

// What the core keeps in its `downloads.ini`: its options and its shared
// folders.
struct CoreSettings {
    std::vector<OptionPair> options;
    std::optional<std::vector<SharedDirectory>> shared;  // absent when the file has no list
};

// The file as a real core writes it: one blank before each option, values
// quoted unless they are a plain word or number, and each shared folder as
// "  {     dirname = ..." with its strategy and priority, ending "};".
std::string FormatDownloadsIni(const CoreSettings& settings);

// Reads back what FormatDownloadsIni wrote (and a real core's Paths
// section). Bounded: lines over kMaxLine bytes are skipped, at most
// kMaxOptions options and SharedFolders::kMaxDirectories folders are kept.
inline constexpr std::size_t kMaxIniLine = 8192;
inline constexpr std::size_t kMaxIniOptions = 512;
CoreSettings ParseDownloadsIni(std::string_view text);

// Writes through a temporary file in the same folder and a rename, so a
// reader never sees half a file.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The file's bytes; absent when it cannot be read or is longer than `limit`.
std::optional<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t limit);

}  // namespace korvana::sim
