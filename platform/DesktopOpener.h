#pragma once

#include <string>

namespace korvana {

// Opens a folder, a file or a web address with the desktop's default
// program. When nothing can open it, the opener itself tells the user what
// could not be opened; callers go on either way.
class DesktopOpener {
  public:
    virtual ~DesktopOpener() = default;
    virtual void OpenPath(const std::string& path) = 0;
    virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace korvana
