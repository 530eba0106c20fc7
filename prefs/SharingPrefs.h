#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "prefs/FolderMove.h"

namespace korvana {

class CoreOptionsPort;
class Prompter;
class SettingsStore;

inline constexpr const char* kMoveQuestion =
    "Do you want to move your downloads to the new location?";
inline constexpr const char* kMoveCaption = "Move files?";
inline constexpr const char* kRemoveNoSelectionText = "Please select a folder to remove.";
inline constexpr const char* kRemoveNoSelectionCaption = "Remove Folder Error";

// What a Save of the Sharing page did beyond its commands.
struct SharingSaveReport {
    std::filesystem::path movedFrom;  // the old downloads folder when a move ran
    MoveReport move;
    // Folders whose path no console command can carry (see ConsoleArgument);
    // their share or unshare was not sent.
    std::vector<std::string> notSent;
};

// The Sharing page of the preferences, without its widgets: the downloads
// folder, whether to move the old one's contents, and the shared folders.
// One object lives for one opening of the dialog; dropping it without Save
// (Cancel) has no effect.
class SharingPrefs {
  public:
    // `foldersAtOpening` are the folders the core lists in its
    // downloads.ini; they fill the list and are unshared again on Save.
    SharingPrefs(SettingsStore& settings, Prompter& prompter, std::filesystem::path installFolder,
                 std::vector<std::string> foldersAtOpening);

    // Opens the page with the folders of <install>/mldonkey/downloads.ini.
    static SharingPrefs Open(SettingsStore& settings, Prompter& prompter,
                             const std::filesystem::path& installFolder);

    // The text of the read-only downloads folder box.
    const std::string& DownloadsFolder() const { return downloadsFolder_; }
    // The rows of the shared-folder list, top to bottom.
    const std::vector<std::string>& SharedFolders() const { return rows_; }
    bool MoveRequested() const { return moveDownloads_; }

    // The folder picker's answer for Browse: an empty answer (cancelled) or
    // a path longer than a stored downloads folder may be changes nothing.
    // Otherwise the box shows it, and when it differs from the stored
    // downloads folder the user is asked whether to move the downloads.
    void Browse(const std::string& picked);
    // The folder picker's answer for Add, under the same rules; appended
    // without any check for duplicates.
    void Add(const std::string& picked);
    // Removes row `selectedRow`; with no row selected (-1 or out of range)
    // the user is told to select one.
    void Remove(int selectedRow);

    // Stores and announces a new downloads folder (moving the old one's
    // contents when asked to), then re-sends every shared folder: "unshare"
    // for each folder listed at opening, "share" for the downloads folder and
    // each row, then "reshare". `mover` carries out the move.
    SharingSaveReport Save(CoreOptionsPort& core, const FolderMover& mover = {});

  private:
    std::filesystem::path StoredDownloadsFolder() const;
    void ApplyDownloadsFolder(CoreOptionsPort& core, const FolderMover& mover,
                              SharingSaveReport& report);

    SettingsStore& settings_;
    Prompter& prompter_;
    std::filesystem::path installFolder_;
    std::vector<std::string> foldersAtOpening_;
    std::vector<std::string> rows_;
    std::string downloadsFolder_;
    bool moveDownloads_ = false;
};

}  // namespace korvana
