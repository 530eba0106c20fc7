#pragma once

#include <string>

namespace korvana {

// Opens a folder, a file or a web address with the desktop's default
// program. The outcome is not reported: nothing to tell the user.
class DesktopOpener {
  public:
    virtual ~DesktopOpener() = default;
    virtual void OpenPath(const std::string& path) = 0;
    virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace korvana
