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

LibraryScan LibraryScanner::Scan() {
    LibraryScan scan;
    ++scans_;
    scan.changed = scans_ == 1;
    now_ = std::time(nullptr);
    if (!folder_.empty()) {
        char* real = realpath(folder_.c_str(), nullptr);
        realRoot_ = real != nullptr ? real : "";
        std::free(real);
        Walk(scan);
    }
    for (auto it = folders_.begin(); it != folders_.end();) {
        if (it->second.seenInScan != scans_) {
            scan.changed = true;
            it = folders_.erase(it);
        } else {
            ++it;
        }
    }
    if (!scan.changed) {
        scan.entries.clear();
    }
    return scan;
}

// Checks every folder first and builds the entries only when something
// changed, so that an unchanged tree costs no allocation per file.
void LibraryScanner::Walk(LibraryScan& scan) {
    const std::string root = folder_.string();
    std::vector<std::string> pending{root};
    while (!pending.empty()) {
        const std::string path = std::move(pending.back());
        pending.pop_back();
        FolderState& state = folders_[path];
        scan.changed = Visit(path, path == root, state) || scan.changed;
        state.seenInScan = scans_;
        for (const Child& child : state.children) {
            if (child.folder) {
                pending.push_back(Join(path, child.name));
            }
        }
    }
    if (!scan.changed) {
        return;
    }
    struct Frame {
        std::string path;
        const FolderState* state;
        std::size_t next;
    };
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
            scan.entries.push_back(MakeLibraryEntry(std::move(path), child.size));
        }
    }
}

// Reads the folder again unless it is known, settled and unchanged. Returns
// whether its entries differ from before.
bool LibraryScanner::Visit(const std::string& path, bool isRoot, FolderState& state) {
    struct stat info {};
    const int statResult = isRoot ? stat(path.c_str(), &info) : lstat(path.c_str(), &info);
    const bool isFolder = statResult == 0 && S_ISDIR(info.st_mode);
    if (isFolder && state.read && state.settled && state.device == std::int64_t(info.st_dev) &&
        state.inode == std::int64_t(info.st_ino) && SameTime(state.mtime, info.st_mtim)) {
        return false;
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
        ReadFolder(fd, path, state);
    }
    return state.children != before;
}

void LibraryScanner::ReadFolder(int fd, const std::string& path, FolderState& state) {
    DIR* folder = fdopendir(fd);
    if (folder == nullptr) {
        close(fd);
        return;
    }
    std::time_t newest = state.mtime.tv_sec;
    while (const dirent* entry = readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        Child child;
        if (ReadChild(dirfd(folder), path, entry->d_name, entry->d_type, child, newest)) {
            state.children.push_back(std::move(child));
        }
    }
    closedir(folder);
    std::sort(state.children.begin(), state.children.end(),
              [](const Child& a, const Child& b) { return a.name < b.name; });
    state.settled = now_ - newest > kSettleSeconds;
}

// Classifies one folder entry; false for what is not listed (devices,
// pipes, sockets, links to folders or out of the downloads folder).
bool LibraryScanner::ReadChild(int fd, const std::string& path, const char* name,
                               unsigned char type, Child& child, std::time_t& newest) {
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
    newest = std::max(newest, info.st_mtim.tv_sec);
    return true;
}

}  // namespace korvana
