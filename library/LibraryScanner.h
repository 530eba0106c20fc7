#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/LibraryEntry.h"

namespace korvana {

// One scan of the downloads folder. When nothing changed since the last
// scan, `changed` is false and `entries` is left empty: the listing the
// caller holds is still right.
struct LibraryScan {
    bool changed = false;
    std::vector<LibraryEntry> entries;
};

// Lists every regular file below the downloads folder, depth first, each
// folder's entries in name order with a sub-folder's files at the point
// where the sub-folder is met. Symbolic links to folders are never
// followed; a link to a file is listed only when the file it leads to lies
// inside the downloads folder. Folders whose modification time has not
// moved since they were read, and that had settled by then, are not read
// again, so a scan of an unchanged tree costs one stat per folder.
//
// A scanner is used by one thread at a time (the scan may run off the GUI
// thread; its result is then applied on it).
class LibraryScanner {
  public:
    explicit LibraryScanner(std::filesystem::path folder);

    LibraryScan Scan();
    const std::filesystem::path& Folder() const { return folder_; }

    // A folder whose newest change is this recent when it is read is read
    // again at the next scan: a change within the same time stamp tick, or
    // a file still being written, would otherwise go unseen.
    static constexpr std::time_t kSettleSeconds = 5;

  private:
    struct Child {
        std::string name;
        bool folder = false;
        std::int64_t size = 0;
        bool operator==(const Child&) const = default;
    };
    struct FolderState {
        bool read = false;
        bool settled = false;
        std::int64_t device = 0;
        std::int64_t inode = 0;
        std::timespec mtime{};
        std::vector<Child> children;
        std::uint64_t seenInScan = 0;
    };

    bool Visit(const std::string& path, bool isRoot, FolderState& state);
    void ReadFolder(int fd, const std::string& path, FolderState& state);
    bool ReadChild(int fd, const std::string& path, const char* name, unsigned char type,
                   Child& child, std::time_t& newest);
    void Walk(LibraryScan& scan);

    std::filesystem::path folder_;
    std::string realRoot_;  // the folder with links resolved, for link checks
    std::unordered_map<std::string, FolderState> folders_;
    std::uint64_t scans_ = 0;
    std::time_t now_ = 0;
};

}  // namespace korvana
