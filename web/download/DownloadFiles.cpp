#include "web/download/DownloadFiles.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "web/download/DownloadFileName.h"

namespace korvana {
namespace {

enum class Placed { Done, Taken, Failed };

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool CopyInto(int from, int to) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(to, buffer.data(), static_cast<std::size_t>(got))) {
            return false;
        }
    }
}

// For a folder on another file system: the copy is created exclusively, so
// an existing file is never replaced; a failed copy is removed again.
Placed CopyExclusively(const std::filesystem::path& from, const std::filesystem::path& to) {
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (out < 0) {
        return errno == EEXIST ? Placed::Taken : Placed::Failed;
    }
    const int in = open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    bool copied = in >= 0 && CopyInto(in, out);
    int error = copied ? 0 : errno;
    if (in >= 0) {
        close(in);
    }
    if (close(out) != 0 && copied) {
        copied = false;
        error = errno;
    }
    if (!copied) {
        unlink(to.c_str());
        errno = error;
        return Placed::Failed;
    }
    unlink(from.c_str());
    return Placed::Done;
}

Placed PlaceAs(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return Placed::Done;
    }
    switch (errno) {
        case EEXIST:
            return Placed::Taken;
        case EXDEV:   // another file system
        case EINVAL:  // a file system without the no-replace rename
        case ENOSYS:
            return CopyExclusively(from, to);
        default:
            return Placed::Failed;
    }
}

}  // namespace

std::optional<std::filesystem::path> MoveToFreeName(const std::filesystem::path& from,
                                                    const std::filesystem::path& folder,
                                                    std::string_view safeName,
                                                    std::error_code* why) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error && !std::filesystem::is_directory(folder)) {
        if (why != nullptr) {
            *why = error;
        }
        return std::nullopt;
    }
    for (int number = 0; number <= kMaxNumberedNames; ++number) {
        const std::filesystem::path to =
            folder / (number == 0 ? std::string(safeName) : NumberedFileName(safeName, number));
        switch (PlaceAs(from, to)) {
            case Placed::Done:
                return to;
            case Placed::Failed:
                if (why != nullptr) {
                    *why = std::error_code(errno, std::generic_category());
                }
                return std::nullopt;
            case Placed::Taken:
                break;
        }
    }
    if (why != nullptr) {
        *why = std::make_error_code(std::errc::file_exists);
    }
    return std::nullopt;
}

}  // namespace korvana
