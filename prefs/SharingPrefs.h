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
inline constexpr const char* kUnnamableFolderText =
    "The core cannot be told this folder's name (it holds both kinds of quote, or ends in a "
    "backslash). Please choose another downloads folder.";
inline constexpr const char* kUnnamableFolderCaption = "Downloads Folder";

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
    // `coreIsRemote`: the core is not ours (see IsRemoteCore), so its
    // folders are paths on its computer and our downloads folder is not one.
    SharingPrefs(SettingsStore& settings, Prompter& prompter, std::filesystem::path installFolder,
                 std::vector<std::string> foldersAtOpening, bool coreIsRemote = false);

    // Opens the page with the user's folders among those the core listed
    // (`core`'s SharedFolders), or when it has listed none, those of
    // <install>/mldonkey/downloads.ini; a core that is not ours has no file
    // there, so its list starts empty until it has listed its folders. The
    // core's own folders (`shared`, the incoming ones) and the downloads
    // folder are not the user's, and are not listed.
    static SharingPrefs Open(SettingsStore& settings, Prompter& prompter,
                             const std::filesystem::path& installFolder,
                             const CoreOptionsPort* core = nullptr);

    // The text of the read-only downloads folder box.
    const std::string& DownloadsFolder() const { return downloadsFolder_; }
    // The rows of the shared-folder list, top to bottom.
    const std::vector<std::string>& SharedFolders() const { return rows_; }
    bool MoveRequested() const { return moveDownloads_; }
    bool CoreIsRemote() const { return coreIsRemote_; }

    // The folder picker's answer for Browse: an empty answer (cancelled) or
    // a path longer than a stored downloads folder may be changes nothing.
    // A folder whose name no console command can carry is refused with a
    // message: the core could never be told to put downloads there.
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
    // for each folder listed at opening, for the old downloads folder and for
    // the downloads folder; "share" for each row, bottom row first, as the
    // core puts each new folder at the top of its list; then the downloads
    // folder with the incoming strategy, on top, so that the core files
    // finished downloads there; then "reshare", and "shares" so the core
    // lists its folders again. A core that is not ours is told nothing of
    // our downloads folder, a path on this computer. `mover` carries out
    // the move.
    SharingSaveReport Save(CoreOptionsPort& core, const FolderMover& mover = {});

  private:
    std::filesystem::path StoredDownloadsFolder() const;
    // The downloads folder before the change, or empty when it stays.
    std::string ApplyDownloadsFolder(CoreOptionsPort& core, const FolderMover& mover,
                                     SharingSaveReport& report);

    SettingsStore& settings_;
    Prompter& prompter_;
    std::filesystem::path installFolder_;
    std::vector<std::string> foldersAtOpening_;
    std::vector<std::string> rows_;
    std::string downloadsFolder_;
    bool moveDownloads_ = false;
    bool coreIsRemote_ = false;
};

}  // namespace korvana
