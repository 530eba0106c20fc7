#include "platform/InstallFolder.h"

#include <cstdlib>

#include <unistd.h>

namespace korvana {

namespace {

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

}  // namespace

std::filesystem::path ChooseInstallFolder(const InstallFolderFacts& facts) {
    if (facts.korvanaHome) {
        return std::filesystem::absolute(*facts.korvanaHome);
    }
    if (facts.executableFolderWritable && !facts.executableFolder.empty()) {
        return facts.executableFolder;
    }
    if (facts.xdgDataHome && std::filesystem::path(*facts.xdgDataHome).is_absolute()) {
        return std::filesystem::path(*facts.xdgDataHome) / "korvana";
    }
    const std::string home = facts.home.value_or("/tmp");
    return std::filesystem::path(home) / ".local" / "share" / "korvana";
}

InstallFolderFacts ReadInstallFolderFacts() {
    InstallFolderFacts facts;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        facts.executableFolder = exe.parent_path();
        facts.executableFolderWritable = access(facts.executableFolder.c_str(), W_OK) == 0;
    }
    facts.korvanaHome = Environment("KORVANA_HOME");
    facts.xdgDataHome = Environment("XDG_DATA_HOME");
    facts.home = Environment("HOME");
    return facts;
}

}  // namespace korvana
