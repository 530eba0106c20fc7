#include "prefs/SharingPrefs.h"

#include <algorithm>

#include "app/CoreConfig.h"
#include "app/Folders.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "prefs/ConsoleArgument.h"
#include "prefs/CoreOptionsPort.h"
#include "prefs/DownloadsIni.h"

namespace korvana {
namespace {

// A picked folder the page can use: the picker gives an empty path when
// cancelled, and a longer path could not be stored as the downloads folder.
bool Usable(const std::string& picked) {
    return !picked.empty() && picked.size() <= kMaxPathValueBytes;
}

constexpr const char* kIncomingOption = "incoming_directory";

void SendFolderCommand(CoreOptionsPort& core, const char* verb, const std::string& folder,
                       SharingSaveReport& report, const char* tail = "") {
    if (const std::optional<std::string> argument = ConsoleArgument(folder)) {
        core.SendConsoleCommand(std::string(verb) + " " + *argument + tail);
    } else if (std::find(report.notSent.begin(), report.notSent.end(), folder) ==
               report.notSent.end()) {
        report.notSent.push_back(folder);
    }
}

// The user's folders among those the core lists: not its default `shared`
// folder nor the folders it keeps for finished downloads, as its
// downloads.ini is read.
std::vector<std::string> UsersFolders(const std::vector<CoreSharedFolder>& listed) {
    std::vector<std::string> folders;
    for (const CoreSharedFolder& entry : listed) {
        const bool incoming = entry.strategy.starts_with("incoming_");
        if (!incoming && entry.folder != "shared") {
            folders.push_back(entry.folder);
        }
    }
    return folders;
}

// Two spellings of one folder: a trailing slash makes no difference.
bool SameFolder(std::string a, std::string b) {
    for (std::string* path : {&a, &b}) {
        while (path->size() > 1 && path->back() == '/') {
            path->pop_back();
        }
    }
    return a == b;
}

}  // namespace

SharingPrefs::SharingPrefs(SettingsStore& settings, Prompter& prompter,
                           std::filesystem::path installFolder,
                           std::vector<std::string> foldersAtOpening, bool coreIsRemote)
    : settings_(settings),
      prompter_(prompter),
      installFolder_(std::move(installFolder)),
      foldersAtOpening_(std::move(foldersAtOpening)),
      rows_(foldersAtOpening_),
      downloadsFolder_(StoredDownloadsFolder().string()),
      coreIsRemote_(coreIsRemote) {}

SharingPrefs SharingPrefs::Open(SettingsStore& settings, Prompter& prompter,
                                const std::filesystem::path& installFolder,
                                const CoreOptionsPort* core) {
    const std::optional<std::vector<CoreSharedFolder>> listed =
        core != nullptr ? core->SharedFolders() : std::nullopt;
    const bool remote = IsRemoteCore(ReadCoreSettings(settings));
    std::vector<std::string> folders;
    if (listed) {
        folders = UsersFolders(*listed);
    } else if (!remote) {
        folders = ReadSharedFoldersFile(DownloadsIniPath(installFolder));
    }
    const std::string downloads = GetDownloadsFolder(installFolder, settings).string();
    std::erase_if(
        folders, [&downloads](const std::string& folder) { return SameFolder(folder, downloads); });
    return SharingPrefs(settings, prompter, installFolder, std::move(folders), remote);
}

std::filesystem::path SharingPrefs::StoredDownloadsFolder() const {
    return GetDownloadsFolder(installFolder_, settings_);
}

void SharingPrefs::Browse(const std::string& picked) {
    if (!Usable(picked)) {
        return;
    }
    if (!ConsoleArgument(picked)) {
        prompter_.Inform(kUnnamableFolderText, kUnnamableFolderCaption);
        return;
    }
    downloadsFolder_ = picked;
    if (picked != StoredDownloadsFolder().string()) {
        moveDownloads_ = prompter_.AskYesNo(kMoveQuestion, kMoveCaption);
    }
}

void SharingPrefs::Add(const std::string& picked) {
    if (Usable(picked)) {
        rows_.push_back(picked);
    }
}

void SharingPrefs::Remove(int selectedRow) {
    if (selectedRow < 0 || static_cast<std::size_t>(selectedRow) >= rows_.size()) {
        prompter_.Inform(kRemoveNoSelectionText, kRemoveNoSelectionCaption);
        return;
    }
    rows_.erase(rows_.begin() + selectedRow);
}

std::string SharingPrefs::ApplyDownloadsFolder(CoreOptionsPort& core, const FolderMover& mover,
                                               SharingSaveReport& report) {
    const std::filesystem::path old = StoredDownloadsFolder();
    if (downloadsFolder_ == old.string()) {
        return {};
    }
    std::error_code ec;
    std::filesystem::create_directories(downloadsFolder_, ec);
    settings_.Write("Path", downloadsFolder_);
    if (moveDownloads_) {
        report.movedFrom = old;
        report.move =
            mover ? mover(old, downloadsFolder_) : MoveFolderContents(old, downloadsFolder_);
    }
    // Only a core that has the option gets it; a real core has none and
    // answers it with an error.
    if (!coreIsRemote_ && !core.OptionValue(kIncomingOption).empty()) {
        core.SendSetOption(kIncomingOption, StoredDownloadsFolder().string());
    }
    return old.string();
}

SharingSaveReport SharingPrefs::Save(CoreOptionsPort& core, const FolderMover& mover) {
    SharingSaveReport report;
    const std::string oldDownloads = ApplyDownloadsFolder(core, mover, report);
    const std::string downloads = StoredDownloadsFolder().string();
    for (const std::string& folder : foldersAtOpening_) {
        SendFolderCommand(core, "unshare", folder, report);
    }
    if (!oldDownloads.empty() && !coreIsRemote_) {
        SendFolderCommand(core, "unshare", oldDownloads, report);
    }
    if (!coreIsRemote_) {
        SendFolderCommand(core, "unshare", downloads, report);
    }
    for (auto row = rows_.rbegin(); row != rows_.rend(); ++row) {
        SendFolderCommand(core, "share", *row, report);
    }
    if (!coreIsRemote_) {
        SendFolderCommand(core, "share 0", downloads, report, " incoming_files");
    }
    core.SendConsoleCommand("reshare");
    core.SendConsoleCommand("shares");
    return report;
}

}  // namespace korvana
