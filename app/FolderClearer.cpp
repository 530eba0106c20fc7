#include "app/FolderClearer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "web/download/IncompleteFiles.h"

namespace korvana {

// The folder is opened without following a link, and every entry is looked
// at and deleted relative to that open folder, so a link swapped in for the
// folder while the clearing runs cannot lead it elsewhere either.
FolderClearer::FolderClearer(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return;
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    folder_ = fdopendir(fd);
    if (folder_ == nullptr) {
        close(fd);
    }
}

FolderClearer::~FolderClearer() {
    Finish();
}

void FolderClearer::Finish() {
    if (folder_ != nullptr) {
        closedir(folder_);
        folder_ = nullptr;
    }
}

bool FolderClearer::Step(std::size_t maxEntries) {
    for (std::size_t handled = 0; handled < maxEntries && folder_ != nullptr; ++handled) {
        const dirent* entry = readdir(folder_);
        if (entry == nullptr) {
            Finish();
            break;
        }
        HandleEntry(entry->d_name);
    }
    return Done();
}

void FolderClearer::HandleEntry(const char* name) {
    if (!IsIncompleteFileName(name)) {
        return;
    }
    const int fd = dirfd(folder_);
    struct stat status {};
    if (fstatat(fd, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(status.st_mode)) {
        unlinkat(fd, name, 0);
    }
}

void FolderClearer::ClearAll(const std::filesystem::path& folder) {
    FolderClearer clearer(folder);
    while (!clearer.Step(256)) {
    }
}

}  // namespace korvana
