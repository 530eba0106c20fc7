#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The user's shared folders as the core lists them in its `downloads.ini`.
//
// The core writes each shared folder as an entry of `shared_directories`:
//
//   {     dirname = "/home/user/Music"
//      strategy = only_directory
//      priority = 0
// };
//
// A line is a folder line when it starts with exactly "  {     dirname = ".
// The value is quoted in the core's string syntax, where a backslash is
// written doubled, a double quote as \" and a byte the core does not print as
// \ and three decimal digits; a value without a closing quote runs to the end
// of the line. The core writes a value without quotes when it is a plain word
// or number; such a value is taken whole.
//
// Not listed, because they are the core's own and not the user's: the
// default entry `shared` (written without quotes), and the folders the core
// keeps for finished downloads (strategy incoming_files or
// incoming_directories), which the core recreates by itself and which would
// lose their role if they were unshared and shared again. An empty value or
// one holding a zero byte names no folder and is skipped too.
//
// Lines are read up to their newline (a carriage return before it is
// dropped). A line longer than kMaxIniLineChars is skipped whole: its start
// would name a different, shorter folder, and its rest is no line of its own.

inline constexpr std::size_t kMaxIniLineChars = 511;

// The most of the file that is read; a real core's file is a few tens of
// kilobytes.
inline constexpr std::size_t kMaxDownloadsIniBytes = 4 * 1024 * 1024;

// The folders in file order; duplicates are kept.
std::vector<std::string> ReadSharedFolders(std::string_view content);

// Reads at most kMaxDownloadsIniBytes of `file` and its folders. A missing,
// unreadable or non-regular file gives no folders; a read that stops early
// (error or size cap) keeps the folders of the complete lines read so far.
std::vector<std::string> ReadSharedFoldersFile(const std::filesystem::path& file);

// <install>/mldonkey/downloads.ini
std::filesystem::path DownloadsIniPath(const std::filesystem::path& installFolder);

}  // namespace korvana
