#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace korvana {

// What a move of the downloads folder's contents left where it was.
struct MoveReport {
    // Files (and folders that could not be read) still under the old folder.
    std::vector<std::filesystem::path> leftBehind;
};

// Moves everything inside `from` into `to`, which must exist: files and
// folders keep their names and places below the folder.
// - An existing file or link in `to` is never replaced: the one in `from`
//   stays where it is and is reported.
// - A folder whose name already exists in `to` is merged into it, entry by
//   entry, by the same rules; a folder emptied that way is removed.
// - Across file systems a file is copied, and the original removed only
//   after the copy succeeded; a failed copy leaves no partial file behind.
// - When `to` lies inside `from`, `to` itself stays in place (it is where
//   everything goes); folders deeper than a fixed limit stay in place.
// Nothing happens when `from` is not a folder or is the same folder as `to`.
// `fileDone`, when given, is called on the calling thread after each file
// moved or left behind; a folder renamed whole counts once.
MoveReport MoveFolderContents(const std::filesystem::path& from, const std::filesystem::path& to,
                              const std::function<void()>& fileDone = {});

// Carries out the move of a Save. Across disks a move copies every byte, so
// the dialog's mover runs it off the GUI thread; an empty mover moves on
// the calling thread.
using FolderMover =
    std::function<MoveReport(const std::filesystem::path& from, const std::filesystem::path& to)>;

// The message for a move that left files behind, naming their count and the
// folder they are in; empty when nothing was left.
std::string LeftBehindMessage(const MoveReport& report, const std::filesystem::path& from);
inline constexpr const char* kLeftBehindCaption = "Move Files Error";

}  // namespace korvana
