#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The one sink for the core link's short diagnostic lines. Every line goes to
// the log file (when one is open) and to each attached viewer, and the newest
// ones stay in memory in a ring for the "Debug Status Messages" window, which
// takes them when it is shown. Writing a line costs the same however many
// lines came before and whether anyone looks. Safe to call from any thread.
class StatusLog {
  public:
    using Viewer = std::function<void(const std::string& line)>;

    static constexpr std::size_t kKeptLines = 5000;

    explicit StatusLog(std::size_t keptLines = kKeptLines);

    // Appends to `path`; when the file passes `maxBytes` it is renamed to
    // `path` + ".1" (replacing an older one) and a new file is started, so
    // the log never grows without bound.
    bool OpenFile(const std::filesystem::path& path, std::size_t maxBytes = 1 << 20);
    // Called with every line, on the writing thread, under the log's lock:
    // for small recorders that must see each line.
    void AttachViewer(Viewer viewer);

    void Line(std::string_view text);

    // Lines are numbered from 0 in the order written; the ring keeps the
    // newest `keptLines` of them.
    std::uint64_t LinesWritten() const;
    // Appends to `out` the kept lines numbered `from` and later, and
    // returns the number of the first one appended (later than `from` when
    // the ring no longer holds the lines between).
    std::uint64_t CopySince(std::uint64_t from, std::vector<std::string>& out) const;

    // `wake` is called once, on the writing thread, for the first line
    // written after each ArmWake; a viewer that takes lines in batches
    // re-arms it once it has taken them, and leaves it unarmed while it is
    // not shown, so a hidden viewer costs nothing per line.
    void SetWake(std::function<void()> wake);
    void ArmWake();
    void DisarmWake();

  private:
    void RotateIfFull();
    void Keep(std::string_view text);

    mutable std::mutex mutex_;
    std::filesystem::path path_;
    std::ofstream file_;
    std::size_t written_ = 0;
    std::size_t maxBytes_ = 0;
    std::vector<Viewer> viewers_;
    std::vector<std::string> ring_;
    std::size_t keptLines_;
    std::uint64_t lines_ = 0;
    std::function<void()> wake_;
    std::atomic<bool> armed_{false};
};

}  // namespace korvana
