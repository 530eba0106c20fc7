#include "desktop/InstalledLayout.h"

namespace korvana {

namespace {

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::filesystem::path InstalledCoreProgram(const std::filesystem::path& executableFolder) {
    return (executableFolder / kInstalledCoreFolder / "mlnet").lexically_normal();
}

bool IsInstalledProgram(const std::filesystem::path& executableFolder) {
    return !executableFolder.empty() && IsRegularFile(InstalledCoreProgram(executableFolder));
}

std::filesystem::path ChooseCoreProgram(const std::filesystem::path& coreFolder,
                                        const std::filesystem::path& executableFolder) {
    const std::filesystem::path own = coreFolder / "mlnet";
    if (IsRegularFile(own) || !IsInstalledProgram(executableFolder)) {
        return own;
    }
    return InstalledCoreProgram(executableFolder);
}

}  // namespace korvana
