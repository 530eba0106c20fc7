#include "library/LibraryCommands.h"

#include <system_error>

#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"

namespace korvana {

bool RemoveFilePermanently(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::remove(file, error) && !error;
}

LibraryCommands::LibraryCommands(Prompter& prompter, DesktopOpener& opener,
                                 std::filesystem::path downloads, RemoveFile remove)
    : prompter_(prompter),
      opener_(opener),
      downloads_(std::move(downloads)),
      remove_(std::move(remove)) {}

void LibraryCommands::Delete(const std::vector<LibraryEntry>& selection, const PlayerHold& player) {
    if (selection.empty()) {
        prompter_.Inform("Please select an mp3 to delete.", "Play Error");
        return;
    }
    for (const LibraryEntry& entry : selection) {
        if (player.playbackOpen && entry.fullPath == player.currentFile) {
            prompter_.Inform("File is currently playing, please stop it, then try again.",
                             "File Delete Error");
        } else if (!remove_(entry.fullPath)) {
            prompter_.Inform("Unable to delete file", "Delete Error");
        }
    }
}

void LibraryCommands::Launch(const std::vector<LibraryEntry>& selection) {
    if (selection.empty()) {
        prompter_.Inform("Please select a file to launch.", "Play Error");
        return;
    }
    for (const LibraryEntry& entry : selection) {
        opener_.OpenPath(entry.fullPath);
    }
}

void LibraryCommands::Explore() {
    opener_.OpenPath(downloads_.string());
}

}  // namespace korvana
