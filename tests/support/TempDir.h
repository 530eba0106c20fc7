#pragma once

#include <filesystem>

namespace korvana::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace korvana::test
