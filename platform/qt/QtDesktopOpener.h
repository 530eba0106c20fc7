#pragma once

#include <functional>

#include "platform/DesktopOpener.h"

class QUrl;

namespace korvana {

class Prompter;

inline constexpr const char* kOpenFailedCaption = "Could Not Open";

// The desktop opener through xdg-open (QDesktopServices). A path that does
// not exist, or an address no program would take, is reported through the
// prompter with its name.
class QtDesktopOpener final : public DesktopOpener {
  public:
    // Hands an address to the desktop; false when nothing took it.
    using Launcher = std::function<bool(const QUrl&)>;

    // `prompter` must outlive the opener. `launch` is the desktop's own
    // unless a test gives another.
    explicit QtDesktopOpener(Prompter& prompter, Launcher launch = {});

    void OpenPath(const std::string& path) override;
    void OpenUrl(const std::string& url) override;

  private:
    Prompter& prompter_;
    Launcher launch_;
};

}  // namespace korvana
