#pragma once

#include <string>
#include <vector>

#include "platform/DesktopOpener.h"

namespace korvana::test {

// Records every folder, file and web address it is asked to open, in order.
class RecordingOpener final : public DesktopOpener {
  public:
    void OpenPath(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { opened.push_back(url); }

    std::vector<std::string> opened;
};

}  // namespace korvana::test
