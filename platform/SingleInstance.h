#pragma once

#include <filesystem>

namespace korvana {

// Holds the program's one-copy lock for the life of the object: an flock()
// on a lock file, released by the kernel when the process ends however it
// ends, so a crash never leaves a stale lock behind.
class SingleInstance {
  public:
    explicit SingleInstance(const std::filesystem::path& lockFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy holds the lock (or the lock file cannot be
    // made, in which case starting is still allowed).
    bool IsFirst() const { return first_; }

    // The lock file inside the install folder. One copy per install folder:
    // two copies on the same folders would clear and move each other's
    // files, whatever their environment says (a runtime folder, for one,
    // differs between sessions of the same user).
    static std::filesystem::path DefaultLockFile(const std::filesystem::path& installFolder);

  private:
    int fd_ = -1;
    bool first_ = true;
};

}  // namespace korvana
