#include "prefs/FolderMove.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>

namespace korvana {
namespace {

namespace fs = std::filesystem;

// Deeper folders stay where they are: the walk is recursive.
constexpr int kMaxDepth = 128;

// Renames without ever replacing an existing entry; 0 or an errno value.
int RenameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP) {
        return error;
    }
    // A file system that cannot refuse to replace: look first.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) {
        return EEXIST;
    }
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::vector<fs::path> Children(const fs::path& folder, std::error_code& ec) {
    std::vector<fs::path> children;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        children.push_back(it->path());
    }
    return children;
}

class Mover {
  public:
    Mover(const fs::path& target, MoveReport& report, const std::function<void()>& fileDone)
        : target_(target), report_(report), fileDone_(fileDone) {}

    void MoveEntry(const fs::path& from, const fs::path& to, int depth) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(from, ec);
        if (fs::is_directory(status) && fs::equivalent(from, target_, ec)) {
            return;
        }
        const int error = RenameNoReplace(from, to);
        if (error == 0) {
            FileDone();
            return;
        }
        if (fs::is_directory(status)) {
            Merge(from, to, depth);
        } else if (error == EXDEV) {
            CopyAcross(from, to, status);
        } else {
            LeaveBehind(from);
        }
    }

  private:
    void Merge(const fs::path& from, const fs::path& to, int depth) {
        std::error_code ec;
        if (depth >= kMaxDepth) {
            LeaveBehind(from);
            return;
        }
        if (fs::create_directory(to, ec)) {
            fs::permissions(to, fs::status(from, ec).permissions(), ec);
        }
        if (!fs::is_directory(fs::symlink_status(to, ec))) {
            LeaveBehind(from);
            return;
        }
        const std::vector<fs::path> children = Children(from, ec);
        if (ec) {
            LeaveBehind(from);
            return;
        }
        for (const fs::path& child : children) {
            MoveEntry(child, to / child.filename(), depth + 1);
        }
        fs::remove(from, ec);  // only when it is empty now
    }

    void CopyAcross(const fs::path& from, const fs::path& to, fs::file_status status) {
        std::error_code ec;
        if (fs::is_regular_file(status)) {
            if (fs::copy_file(from, to, fs::copy_options::none, ec)) {
                fs::remove(from, ec);
                FileDone();
                return;
            }
            if (ec != std::errc::file_exists) {
                std::error_code ignored;
                fs::remove(to, ignored);  // the partial copy made here
            }
        } else if (fs::is_symlink(status)) {
            fs::copy_symlink(from, to, ec);
            if (!ec) {
                fs::remove(from, ec);
                FileDone();
                return;
            }
        }
        LeaveBehind(from);
    }

    // Reports a file, or every file under a folder that stays.
    void LeaveBehind(const fs::path& from) {
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(from, ec))) {
            report_.leftBehind.push_back(from);
            FileDone();
            return;
        }
        const auto options = fs::directory_options::skip_permission_denied;
        fs::recursive_directory_iterator it(from, options, ec);
        if (ec) {
            report_.leftBehind.push_back(from);
            return;
        }
        for (fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
            if (!fs::is_directory(it->symlink_status(ec))) {
                report_.leftBehind.push_back(it->path());
                FileDone();
            }
            if (ec) {
                break;
            }
        }
    }

    // A folder renamed whole counts as one item.
    void FileDone() {
        if (fileDone_) {
            fileDone_();
        }
    }

    const fs::path& target_;
    MoveReport& report_;
    const std::function<void()>& fileDone_;
};

}  // namespace

MoveReport MoveFolderContents(const fs::path& from, const fs::path& to,
                              const std::function<void()>& fileDone) {
    MoveReport report;
    std::error_code ec;
    if (!fs::is_directory(from, ec) || fs::equivalent(from, to, ec)) {
        return report;
    }
    const std::vector<fs::path> children = Children(from, ec);
    if (ec) {
        report.leftBehind.push_back(from);
        return report;
    }
    Mover mover(to, report, fileDone);
    for (const fs::path& child : children) {
        mover.MoveEntry(child, to / child.filename(), 1);
    }
    return report;
}

std::string LeftBehindMessage(const MoveReport& report, const fs::path& from) {
    const std::size_t count = report.leftBehind.size();
    if (count == 0) {
        return {};
    }
    const std::string files = count == 1 ? "1 file" : std::to_string(count) + " files";
    return files +
           " could not be moved to the new downloads folder (a file of the same name is "
           "already there, or moving failed). " +
           (count == 1 ? "It is" : "They are") + " still in " + from.string() + ".";
}

}  // namespace korvana
