#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/LibraryEntry.h"

namespace korvana {

// One scan of the downloads folder. When files came or went (and at the
// first scan), `changed` is set and `entries` lists every file. Otherwise
// `entries` is left empty, since the listing the caller holds is still
// right but for the entries in `resized`: the files whose size or
// modification time alone changed.
// With `changed`, `folders` names the downloads folder and every folder
// below it that the scan walked, sorted, for a watcher to follow.
struct LibraryScan {
    bool changed = false;
    std::vector<LibraryEntry> entries;
    std::vector<LibraryEntry> resized;
    std::vector<std::string> folders;
};

// Lists every regular file below the downloads folder, depth first, each
// folder's entries in name order with a sub-folder's files at the point
// where the sub-folder is met. Symbolic links to folders are never
// followed; a link to a file is listed only when the file it leads to lies
// inside the downloads folder.
//
// Work follows what changed, so that a big folder costs little while one
// of its files grows: a folder is read again only when its modification
// time moved or had not settled when it was read; a file is looked at
// again only when it had not settled when it was last looked at (one stat
// each), or when its folder is read again and the file is not the one
// (inode) that was there. An unchanged, settled tree costs one stat per
// folder. A file rewritten in place (a tag editor that saves into the
// file) leaves its folder's time and its inode as they were: only a scan
// with `Look::EveryFile`, which stats every known file as well, sees its
// new time.
//
// A scanner is used by one thread at a time (the scan may run off the GUI
// thread; its result is then applied on it).
class LibraryScanner {
  public:
    enum class Look { Changes, EveryFile };

    explicit LibraryScanner(std::filesystem::path folder);

    LibraryScan Scan(Look look = Look::Changes);
    const std::filesystem::path& Folder() const { return folder_; }

    // A folder or file whose last change is this recent when it is read is
    // read again at the next scan: a change within the same time stamp
    // tick, or a file still being written, would otherwise go unseen.
    static constexpr std::time_t kSettleSeconds = 5;

  private:
    // What a folder's visit found; the greater wins over a whole scan.
    enum class Change { None, Sizes, Files };

    struct Child {
        std::string name;
        bool folder = false;
        std::int64_t size = 0;
        std::int64_t modified = 0;  // nanoseconds
        std::uint64_t inode = 0;
        bool settled = false;
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

    Change Visit(const std::string& path, bool isRoot, FolderState& state);
    bool LookAgain(const std::string& path, bool isRoot, FolderState& state, Change& change);
    void ReadFolder(int fd, const std::string& path, const std::vector<Child>& before,
                    FolderState& state);
    bool ReadChild(int fd, const std::string& path, const char* name, unsigned char type,
                   Child& child);
    Change Compare(const std::string& path, const std::vector<Child>& before,
                   const std::vector<Child>& after);
    Change Walk();
    void ListEntries(LibraryScan& scan);

    std::filesystem::path folder_;
    std::string realRoot_;  // the folder with links resolved, for link checks
    std::unordered_map<std::string, FolderState> folders_;
    std::vector<LibraryEntry> resized_;  // of the scan under way
    std::uint64_t scans_ = 0;
    std::time_t now_ = 0;
    bool everyFile_ = false;  // of the scan under way
};

}  // namespace korvana
