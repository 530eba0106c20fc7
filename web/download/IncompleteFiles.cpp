#include "web/download/IncompleteFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "web/HttpText.h"
#include "web/download/DownloadFileName.h"

namespace korvana {
namespace {

// How many numbered names are tried before a new incomplete file gives up.
constexpr int kMaxIncompleteNumbers = 999;

// Opens `folder` itself, refusing a symbolic link in its place.
int OpenFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
    }
    return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

std::string IncompleteFileName(std::string_view safeName, int number) {
    std::string name = number == 0 ? std::string(safeName) : NumberedFileName(safeName, number);
    CutToLimit(name, kMaxFileNameBytes - kIncompleteMark.size());
    return name.append(kIncompleteMark);
}

bool IsIncompleteFileName(std::string_view name) {
    return name.size() > kIncompleteMark.size() && name.ends_with(kIncompleteMark);
}

IncompleteFile CreateIncompleteFile(const std::filesystem::path& folder,
                                    std::string_view safeName) {
    IncompleteFile file;
    const int folderFd = OpenFolder(folder);
    if (folderFd < 0) {
        return file;
    }
    for (int number = 0; number <= kMaxIncompleteNumbers; ++number) {
        const std::string name = IncompleteFileName(safeName, number);
        const int fd = openat(folderFd, name.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno == EEXIST) {
            continue;
        }
        struct stat status {};
        if (fd >= 0 && fstat(fd, &status) != 0) {
            close(fd);
            unlinkat(folderFd, name.c_str(), 0);
        } else if (fd >= 0) {
            file.fd = fd;
            file.path = folder / name;
            file.device = status.st_dev;
            file.inode = status.st_ino;
        }
        break;
    }
    close(folderFd);
    return file;
}

bool IsStillOurs(const IncompleteFile& file) {
    struct stat status {};
    return lstat(file.path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_dev == file.device && status.st_ino == file.inode;
}

}  // namespace korvana
