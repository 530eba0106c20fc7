#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace korvana {

// Where the program keeps its folders (Downloads, Incomplete, TempPlay,
// mldonkey) and its log. The facts it is chosen from, gathered apart from the
// choice so the rule can be tested.
struct InstallFolderFacts {
    std::filesystem::path executableFolder;
    bool executableFolderWritable = false;
    std::optional<std::string> korvanaHome;  // $KORVANA_HOME
    std::optional<std::string> xdgDataHome;  // $XDG_DATA_HOME
    std::optional<std::string> home;         // $HOME
};

// KORVANA_HOME when set; else the executable's folder when it is writable;
// else $XDG_DATA_HOME/korvana (or ~/.local/share/korvana). Always absolute.
std::filesystem::path ChooseInstallFolder(const InstallFolderFacts& facts);

// The facts of the running process: /proc/self/exe and the environment.
InstallFolderFacts ReadInstallFolderFacts();

}  // namespace korvana
