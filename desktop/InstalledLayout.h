#pragma once

#include <filesystem>

namespace korvana {

// Where a system-wide installation keeps the default core, relative to the
// program's own folder: <prefix>/bin/korvana beside
// <prefix>/lib/korvana/mldonkey/mlnet. The install rules use the same path.
inline constexpr const char* kInstalledCoreFolder = "../lib/korvana/mldonkey";

// The default core a system-wide installation placed beside the program.
std::filesystem::path InstalledCoreProgram(const std::filesystem::path& executableFolder);

// Whether the program runs from a system-wide installation: its default
// core lies where the install rules put it. Such a program keeps its folders
// under the user's data folder even where its own folder is writable (as
// /usr/bin is for root): they must never land among the system's programs.
bool IsInstalledProgram(const std::filesystem::path& executableFolder);

// The core to run: the user's own `mlnet` in the core folder when there is
// one, else the installation's default core, else the core folder's `mlnet`
// (whose absence the start-up reports as for any missing core).
std::filesystem::path ChooseCoreProgram(const std::filesystem::path& coreFolder,
                                        const std::filesystem::path& executableFolder);

}  // namespace korvana
