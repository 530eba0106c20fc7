#include "app/Folders.h"

#include "platform/SettingsStore.h"

namespace korvana {

std::filesystem::path GetDownloadsFolder(const std::filesystem::path& install,
                                         const SettingsStore& settings) {
    const std::optional<std::string> path = settings.Read("Path");
    if (path && !path->empty() && path->size() <= kMaxPathValueBytes) {
        return *path;
    }
    return install / "Downloads";
}

Folders MakeFolders(const std::filesystem::path& install, const SettingsStore& settings) {
    return Folders{install, GetDownloadsFolder(install, settings), install / "Incomplete",
                   install / "TempPlay", install / "mldonkey"};
}

}  // namespace korvana
