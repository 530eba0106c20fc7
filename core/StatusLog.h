#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The one sink for the core link's short diagnostic lines. Every line goes to
// the log file (when one is open) and to each attached viewer, such as the
// "Debug Status Messages" window. Safe to call from any thread.
class StatusLog {
  public:
    using Viewer = std::function<void(const std::string& line)>;

    // Appends to `path`; when the file passes `maxBytes` it is renamed to
    // `path` + ".1" (replacing an older one) and a new file is started, so
    // the log never grows without bound.
    bool OpenFile(const std::filesystem::path& path, std::size_t maxBytes = 1 << 20);
    void AttachViewer(Viewer viewer);

    void Line(std::string_view text);

  private:
    void RotateIfFull();

    std::mutex mutex_;
    std::filesystem::path path_;
    std::ofstream file_;
    std::size_t written_ = 0;
    std::size_t maxBytes_ = 0;
    std::vector<Viewer> viewers_;
};

}  // namespace korvana
