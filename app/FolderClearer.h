#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

namespace korvana {

// Deletes every file below a folder and keeps the folders themselves, a few
// entries at a time so the GUI thread can interleave its own work. Symbolic
// links are removed as links: a link in the folder never leads the clearing
// outside it. Files that cannot be deleted are left; a missing folder is
// simply done.
class FolderClearer {
  public:
    explicit FolderClearer(const std::filesystem::path& folder);

    // Handles up to `maxEntries` entries; returns true once the whole tree
    // has been walked.
    bool Step(std::size_t maxEntries);
    bool Done() const { return stack_.empty(); }

    // Clears the whole tree at once.
    static void ClearAll(const std::filesystem::path& folder);

  private:
    void HandleEntry(const std::filesystem::directory_entry& entry);

    std::vector<std::filesystem::directory_iterator> stack_;
};

}  // namespace korvana
