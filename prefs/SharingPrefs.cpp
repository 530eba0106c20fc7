#include "prefs/SharingPrefs.h"

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

void SendFolderCommand(CoreOptionsPort& core, const char* verb, const std::string& folder,
                       SharingSaveReport& report) {
    if (const std::optional<std::string> argument = ConsoleArgument(folder)) {
        core.SendConsoleCommand(std::string(verb) + " " + *argument);
    } else {
        report.notSent.push_back(folder);
    }
}

}  // namespace

SharingPrefs::SharingPrefs(SettingsStore& settings, Prompter& prompter,
                           std::filesystem::path installFolder,
                           std::vector<std::string> foldersAtOpening)
    : settings_(settings),
      prompter_(prompter),
      installFolder_(std::move(installFolder)),
      foldersAtOpening_(std::move(foldersAtOpening)),
      rows_(foldersAtOpening_),
      downloadsFolder_(StoredDownloadsFolder().string()) {}

SharingPrefs SharingPrefs::Open(SettingsStore& settings, Prompter& prompter,
                                const std::filesystem::path& installFolder) {
    return SharingPrefs(settings, prompter, installFolder,
                        ReadSharedFoldersFile(DownloadsIniPath(installFolder)));
}

std::filesystem::path SharingPrefs::StoredDownloadsFolder() const {
    return GetDownloadsFolder(installFolder_, settings_);
}

void SharingPrefs::Browse(const std::string& picked) {
    if (!Usable(picked)) {
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

void SharingPrefs::ApplyDownloadsFolder(CoreOptionsPort& core, const FolderMover& mover,
                                        SharingSaveReport& report) {
    const std::filesystem::path old = StoredDownloadsFolder();
    if (downloadsFolder_ == old.string()) {
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(downloadsFolder_, ec);
    settings_.Write("Path", downloadsFolder_);
    if (moveDownloads_) {
        report.movedFrom = old;
        report.move =
            mover ? mover(old, downloadsFolder_) : MoveFolderContents(old, downloadsFolder_);
    }
    core.SendSetOption("incoming_directory", StoredDownloadsFolder().string());
}

SharingSaveReport SharingPrefs::Save(CoreOptionsPort& core, const FolderMover& mover) {
    SharingSaveReport report;
    ApplyDownloadsFolder(core, mover, report);
    for (const std::string& folder : foldersAtOpening_) {
        SendFolderCommand(core, "unshare", folder, report);
    }
    SendFolderCommand(core, "share", StoredDownloadsFolder().string(), report);
    for (const std::string& folder : rows_) {
        SendFolderCommand(core, "share", folder, report);
    }
    core.SendConsoleCommand("reshare");
    return report;
}

}  // namespace korvana
