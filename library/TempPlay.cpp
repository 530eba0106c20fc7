#include "library/TempPlay.h"

#include <system_error>

namespace korvana {

std::optional<std::filesystem::path> CopyIntoTempPlay(const std::filesystem::path& tempPlay,
                                                      const std::string& file) {
    namespace fs = std::filesystem;
    const fs::path name = fs::path(file).filename();
    if (tempPlay.empty() || name.empty() || name == "." || name == "..") {
        return std::nullopt;
    }
    std::error_code error;
    fs::create_directories(tempPlay, error);
    const fs::path copy = tempPlay / name;
    // Removed first so that a link in the folder is replaced, not written
    // through.
    fs::remove(copy, error);
    // A link in the library is copied through to its file's bytes; a second
    // hard link to it could dangle.
    if (!fs::is_symlink(fs::symlink_status(file, error))) {
        fs::create_hard_link(file, copy, error);
        if (!error) {
            return copy;
        }
    }
    if (!fs::copy_file(file, copy, error) || error) {
        return std::nullopt;
    }
    return copy;
}

void ClearTempPlay(const std::filesystem::path& tempPlay) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(tempPlay, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_directory(ignored) || it->is_symlink(ignored)) {
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace korvana
