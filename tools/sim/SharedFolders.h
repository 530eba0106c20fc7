#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana::sim {

struct SharedDirectory {
    std::string dirname;  // as given; relative names are under the core folder
    std::string strategy = "only_directory";
    int priority = 0;

    bool operator==(const SharedDirectory&) const = default;
};

struct SharedFile {
    std::int32_t number = 0;
    std::filesystem::path path;
    std::string name;
    std::uint64_t size = 0;
    std::uint64_t uploaded = 0;
    std::int32_t requests = 0;
};

// The core's shared folders, newest first as `share` puts them, and the
// files found in them. Bounded: at most kMaxDirectories folders and
// kMaxFiles files; folders with the all_files strategy are walked kMaxDepth
// levels deep, the others only at their top.
class SharedFolders {
  public:
    static constexpr std::size_t kMaxDirectories = 256;
    static constexpr std::size_t kMaxFiles = 10000;
    static constexpr int kMaxDepth = 4;

    explicit SharedFolders(std::filesystem::path coreFolder);

    // A fresh core's folders: "shared" (all files) and "incoming/files",
    // where finished downloads go.
    static std::vector<SharedDirectory> Defaults();

    const std::vector<SharedDirectory>& Directories() const { return directories_; }
    void SetDirectories(std::vector<SharedDirectory> directories);
    std::filesystem::path Resolve(std::string_view dirname) const;

    // The answers are a real core's console answers.
    std::string Share(const std::string& dirname, int priority, const std::string& strategy);
    std::string Unshare(const std::string& dirname);

    // The first folder with the incoming_files strategy.
    std::optional<std::filesystem::path> IncomingFolder() const;

    // Looks at the folders again. Files keep their numbers while they stay;
    // returns the numbers of files found for the first time. With `sharing`
    // false (no network enabled) nothing is shared.
    std::vector<std::int32_t> Rescan(bool sharing);
    std::vector<SharedFile>& Files() { return files_; }
    const std::vector<SharedFile>& Files() const { return files_; }

  private:
    void Collect(const std::filesystem::path& folder, int depth,
                 std::vector<std::filesystem::path>& found) const;

    std::filesystem::path coreFolder_;
    std::vector<SharedDirectory> directories_;
    std::vector<SharedFile> files_;
    std::int32_t nextNumber_ = 1;
};

}  // namespace korvana::sim
