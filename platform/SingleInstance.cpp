#include "platform/SingleInstance.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace korvana {

SingleInstance::SingleInstance(const std::filesystem::path& lockFile) {
    std::error_code ec;
    std::filesystem::create_directories(lockFile.parent_path(), ec);
    fd_ = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        return;
    }
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        first_ = false;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

std::filesystem::path SingleInstance::DefaultLockFile(const std::filesystem::path& installFolder) {
    return installFolder / "Korvana MP3 Finder.lock";
}

}  // namespace korvana
