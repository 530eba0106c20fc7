#include "tools/sim/SharedFolders.h"

#include <algorithm>
#include <set>

namespace korvana::sim {

namespace fs = std::filesystem;

SharedFolders::SharedFolders(fs::path coreFolder)
    : coreFolder_(std::move(coreFolder)), directories_(Defaults()) {}

std::vector<SharedDirectory> SharedFolders::Defaults() {
    return {{"shared", "all_files", 0}, {"incoming/files", "incoming_files", 0}};
}

void SharedFolders::SetDirectories(std::vector<SharedDirectory> directories) {
    if (directories.size() > kMaxDirectories) {
        directories.resize(kMaxDirectories);
    }
    directories_ = std::move(directories);
}

fs::path SharedFolders::Resolve(std::string_view dirname) const {
    const fs::path path(dirname);
    return path.is_absolute() ? path : coreFolder_ / path;
}

std::string SharedFolders::Share(const std::string& dirname, int priority,
                                 const std::string& strategy) {
    std::error_code error;
    if (dirname.empty() || !fs::is_directory(Resolve(dirname), error)) {
        return "no such directory";
    }
    for (SharedDirectory& directory : directories_) {
        if (directory.dirname == dirname && directory.strategy == strategy) {
            if (directory.priority == priority) {
                return "directory already shared";
            }
            const std::string answer = "prio of " + dirname + " changed from " +
                                       std::to_string(directory.priority) + " to " +
                                       std::to_string(priority);
            directory.priority = priority;
            return answer;
        }
    }
    if (directories_.size() >= kMaxDirectories) {
        return "too many shared directories";
    }
    directories_.insert(directories_.begin(), SharedDirectory{dirname, strategy, priority});
    return "directory added";
}

std::string SharedFolders::Unshare(const std::string& dirname) {
    const auto removed = std::erase_if(directories_, [&](const SharedDirectory& directory) {
        return directory.dirname == dirname;
    });
    return removed > 0 ? "directory removed" : "directory already unshared";
}

std::optional<fs::path> SharedFolders::IncomingFolder() const {
    for (const SharedDirectory& directory : directories_) {
        if (directory.strategy == "incoming_files") {
            return Resolve(directory.dirname);
        }
    }
    return std::nullopt;
}

void SharedFolders::Collect(const fs::path& folder, int depth, std::vector<fs::path>& found) const {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator() && found.size() < kMaxFiles;
         it.increment(error)) {
        const fs::path& path = it->path();
        if (path.filename().string().starts_with('.')) {
            continue;
        }
        std::error_code statError;
        if (it->is_regular_file(statError)) {
            found.push_back(path);
        } else if (depth > 0 && it->is_directory(statError) && !it->is_symlink(statError)) {
            Collect(path, depth - 1, found);
        }
    }
}

std::vector<std::int32_t> SharedFolders::Rescan(bool sharing) {
    std::vector<fs::path> found;
    if (sharing) {
        for (const SharedDirectory& directory : directories_) {
            const int depth = directory.strategy == "all_files" ? kMaxDepth : 0;
            Collect(Resolve(directory.dirname), depth, found);
        }
    }
    const std::set<fs::path> present(found.begin(), found.end());
    std::erase_if(files_, [&](const SharedFile& file) { return !present.contains(file.path); });
    std::set<fs::path> known;
    for (const SharedFile& file : files_) {
        known.insert(file.path);
    }
    std::vector<std::int32_t> added;
    for (const fs::path& path : present) {
        if (known.contains(path)) {
            continue;
        }
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path, error);
        SharedFile& file = files_.emplace_back();
        file.number = nextNumber_++;
        file.path = path;
        file.name = path.filename().string();
        file.size = error ? 0 : size;
        added.push_back(file.number);
    }
    return added;
}

}  // namespace korvana::sim
