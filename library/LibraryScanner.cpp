#include "library/LibraryScanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace korvana {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + '/' + name;
}

bool SameTime(const std::timespec& a, const std::timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

LibraryScanner::LibraryScanner(std::filesystem::path folder) : folder_(std::move(folder)) {}

LibraryScan LibraryScanner::Scan(Look look) {
    LibraryScan scan;
    ++scans_;
    now_ = std::time(nullptr);
    everyFile_ = look == Look::EveryFile;
    resized_.clear();
    Change change = scans_ == 1 ? Change::Files : Change::None;
    if (!folder_.empty()) {
        char* real = realpath(folder_.c_str(), nullptr);
        realRoot_ = real != nullptr ? real : "";
        std::free(real);
        change = std::max(change, Walk());
    }
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (it->second.seenInScan != scans_) {
            change = Change::Files;
            it = folders_.erase(it);
        } else {
            ++it;
        }
    }
    if (change == Change::Files) {
        scan.changed = true;
        ListEntries(scan);
        for (const auto& folder : folders_) {
            scan.folders.push_back(folder.first);
        }
        std::sort(scan.folders.begin(), scan.folders.end());
    } else if (change == Change::Sizes) {
        scan.resized = std::move(resized_);
    }
    resized_.clear();
    return scan;
}

// Checks every folder first; the entries are built only when files came or
// went, so that an unchanged tree costs no allocation per file.
LibraryScanner::Change LibraryScanner::Walk() {
    const std::string root = folder_.string();
    Change change = Change::None;
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        FolderState& state = folders_[path];
        change = std::max(change, Visit(path, path == root, state));
        state.seenInScan = scans_;
        for (const Child& child : state.children) {
            if (child.folder) {
                pending.push_back(Join(path, child.name));
            }
        }
    }
    return change;
}

void LibraryScanner::ListEntries(LibraryScan& scan) {
    struct Frame {
        std::string path;
        const FolderState* state;
        std::size_t next;
    };
    const std::string root = folder_.string();
    std::vector<Frame> stack{{root, &folders_[root], 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next >= frame.state->children.size()) {
            stack.pop_back();
            continue;
        }
        const Child& child = frame.state->children[frame.next++];
        std::string path = Join(frame.path, child.name);
        if (child.folder) {
            const FolderState* inner = &folders_[path];
            stack.push_back({std::move(path), inner, 0});
        } else {
            scan.entries.push_back(MakeLibraryEntry(std::move(path), child.size, child.modified));
        }
    }
}

// Reads the folder again unless it is known, settled and unchanged; then
// only its unsettled files are looked at again.
LibraryScanner::Change LibraryScanner::Visit(const std::string& path, bool isRoot,
                                             FolderState& state) {
    struct stat info {};
    const int statResult = isRoot ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    const bool isFolder = statResult == 0 && S_ISDIR(info.st_mode);
    Change change = Change::None;
    if (isFolder && state.read && state.settled && state.device == std::int64_t(info.st_dev) &&
        state.inode == std::int64_t(info.st_ino) && SameTime(state.mtime, info.st_mtim) &&
        LookAgain(path, isRoot, state, change)) {
        return change;
    }
    std::vector<Child> before = std::move(state.children);
    state.children.clear();
    state.read = true;
    state.settled = false;
    const int fd = isFolder ? open(path.c_str(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW))
                            : -1;
    if (fd >= 0) {
        state.device = std::int64_t(info.st_dev);
        state.inode = std::int64_t(info.st_ino);
        state.mtime = info.st_mtim;
        state.settled = now_ - info.st_mtim.tv_sec > kSettleSeconds;
        ReadFolder(fd, path, before, state);
    }
    return Compare(path, before, state.children);
}

// Stats the folder's unsettled files again, or all its files when every
// file is looked at. False when one is gone or is no longer a listed file:
// the folder must then be read again.
bool LibraryScanner::LookAgain(const std::string& path, bool isRoot, FolderState& state,
                               Change& change) {
    const auto unsettled = [this](const Child& child) {
        return !child.folder && (!child.settled || everyFile_);
    };
    if (std::none_of(state.children.begin(), state.children.end(), unsettled)) {
        return true;
    }
    const int fd =
        open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (isRoot ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        return false;
    }
    bool listed = true;
    for (Child& child : state.children) {
        if (!unsettled(child)) {
            continue;
        }
        Child now;
        listed = ReadChild(fd, path, child.name.c_str(), DT_UNKNOWN, now) && !now.folder;
        if (!listed) {
            break;
        }
        if (now.size != child.size || now.modified != child.modified) {
            resized_.push_back(MakeLibraryEntry(Join(path, child.name), now.size, now.modified));
            change = Change::Sizes;
        }
        child.size = now.size;
        child.modified = now.modified;
        child.settled = now.settled;
    }
    close(fd);
    return listed;
}

// A file that was there before, settled, and is still the same inode keeps
// what was known of it without a stat, unless every file is looked at.
void LibraryScanner::ReadFolder(int fd, const std::string& path, const std::vector<Child>& before,
                                FolderState& state) {
    DIR* folder = fdopendir(fd);
    if (folder == nullptr) {
        close(fd);
        return;
    }
    const auto byName = [](const Child& child, const char* name) {
        return std::strcmp(child.name.c_str(), name) < 0;
    };
    while (const dirent* entry = readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        const auto known = std::lower_bound(before.begin(), before.end(), entry->d_name, byName);
        if (!everyFile_ && entry->d_type == DT_REG && known != before.end() &&
            known->name == entry->d_name && known->settled && !known->folder &&
            known->inode == entry->d_ino) {
            state.children.push_back(*known);
            continue;
        }
        Child child;
        if (ReadChild(dirfd(folder), path, entry->d_name, entry->d_type, child)) {
            child.inode = entry->d_ino;
            state.children.push_back(std::move(child));
        }
    }
    closedir(folder);
    std::sort(state.children.begin(), state.children.end(),
              [](const Child& a, const Child& b) { return a.name < b.name; });
}

// Files when names or kinds differ, else Sizes when a file's size or time does (its
// entry is kept for the scan), else None.
LibraryScanner::Change LibraryScanner::Compare(const std::string& path,
                                               const std::vector<Child>& before,
                                               const std::vector<Child>& after) {
    if (before.size() != after.size()) {
        return Change::Files;
    }
    Change change = Change::None;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i].name != after[i].name || before[i].folder != after[i].folder) {
            return Change::Files;
        }
        if (before[i].size != after[i].size || before[i].modified != after[i].modified) {
            resized_.push_back(
                MakeLibraryEntry(Join(path, after[i].name), after[i].size, after[i].modified));
            change = Change::Sizes;
        }
    }
    return change;
}

// Classifies one folder entry; false for what is not listed (devices,
// pipes, sockets, links to folders or out of the downloads folder).
bool LibraryScanner::ReadChild(int fd, const std::string& path, const char* name,
                               unsigned char type, Child& child) {
    child.name = name;
    if (type == DT_DIR) {
        child.folder = true;
        return true;
    }
    if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return type == DT_REG;  // listed with size 0
    }
    if (S_ISDIR(info.st_mode)) {
        child.folder = true;
        return true;
    }
    if (S_ISLNK(info.st_mode)) {
        char* target = realpath(Join(path, name).c_str(), nullptr);
        const std::string resolved = target != nullptr ? target : "";
        std::free(target);
        const std::string inside = Join(realRoot_, "");
        if (realRoot_.empty() || resolved.compare(0, inside.size(), inside) != 0 ||
            stat(resolved.c_str(), &info) != 0) {
            return false;
        }
    }
    if (!S_ISREG(info.st_mode)) {
        return false;
    }
    child.size = info.st_size;
    child.modified = std::int64_t(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    child.settled = now_ - info.st_mtim.tv_sec > kSettleSeconds;
    return true;
}

}  // namespace korvana
