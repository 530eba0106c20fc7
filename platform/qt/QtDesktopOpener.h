#pragma once

#include "platform/DesktopOpener.h"

namespace korvana {

// The desktop opener through xdg-open (QDesktopServices).
class QtDesktopOpener final : public DesktopOpener {
  public:
    void OpenPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
};

}  // namespace korvana
