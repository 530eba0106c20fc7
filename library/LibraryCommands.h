#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "library/LibraryEntry.h"

namespace korvana {

class DesktopOpener;
class Prompter;

// Deletes a file; true when it is gone. The page hands in the desktop's
// trash where there is one, so that a slip of the mouse loses nothing.
using RemoveFile = std::function<bool(const std::filesystem::path&)>;

// Deletes for good, for desktops without a trash.
bool RemoveFilePermanently(const std::filesystem::path& file);

// What Delete needs to know of the player: the file last chosen for
// playing, and whether it is loaded in an open playback session.
struct PlayerHold {
    std::string currentFile;
    bool playbackOpen = false;
};

// The library's commands on the selected rows (the entries as the list
// shows them, in the order given) and on the downloads folder. Messages go
// through the prompter; nothing here changes the rows: the next refresh
// shows the outcome.
class LibraryCommands {
  public:
    LibraryCommands(Prompter& prompter, DesktopOpener& opener, std::filesystem::path downloads,
                    RemoveFile remove = RemoveFilePermanently);

    // Deletes each selected file, refusing the player's loaded file.
    void Delete(const std::vector<LibraryEntry>& selection, const PlayerHold& player);
    // Opens each selected file with the desktop's program for it.
    void Launch(const std::vector<LibraryEntry>& selection);
    // Opens the downloads folder.
    void Explore();

  private:
    Prompter& prompter_;
    DesktopOpener& opener_;
    std::filesystem::path downloads_;
    RemoveFile remove_;
};

}  // namespace korvana
