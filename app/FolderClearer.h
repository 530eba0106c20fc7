#pragma once

#include <dirent.h>

#include <cstddef>
#include <filesystem>

namespace korvana {

// Clears the Incomplete folder of what this program left there: the regular
// files at its top level whose names mark them as incomplete web downloads
// (IsIncompleteFileName), a few entries at a time so the GUI thread can
// interleave its own work. Nothing else is touched: no other file (a file
// the user put there, a finished download kept there), no sub-folder (never
// entered), no symbolic link (never followed), and nothing at all when the
// folder itself is a symbolic link. Files that cannot be deleted are left; a
// missing folder is simply done.
class FolderClearer {
  public:
    explicit FolderClearer(const std::filesystem::path& folder);
    ~FolderClearer();
    FolderClearer(const FolderClearer&) = delete;
    FolderClearer& operator=(const FolderClearer&) = delete;

    // Handles up to `maxEntries` entries; returns true once the whole folder
    // has been walked.
    bool Step(std::size_t maxEntries);
    bool Done() const { return folder_ == nullptr; }

    // Clears the whole folder at once.
    static void ClearAll(const std::filesystem::path& folder);

  private:
    void HandleEntry(const char* name);
    void Finish();

    DIR* folder_ = nullptr;
};

}  // namespace korvana
