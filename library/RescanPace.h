#pragma once

#include <chrono>
#include <optional>

namespace korvana {

// How often the library's folder is scanned.
struct RescanTiming {
    // Between scans while the folder changes.
    std::chrono::milliseconds busy{3000};
    // Between scans once it has been quiet: a safety net for changes that
    // no folder watcher reports.
    std::chrono::milliseconds quiet{60000};
    // From a watcher's report to the scan, so that a burst of reports
    // costs one scan.
    std::chrono::milliseconds wake{250};
    // Scans in a row that found nothing new before the folder counts as
    // quiet.
    int quietScans = 10;
};

// Decides when the next scan of the library folder is due: every `busy`
// while scans find changes, every `quiet` once `quietScans` scans in a row
// found none, and soon after a watcher reports a change. A file still being
// written changes size at every scan and so keeps the scans coming until
// its last size is listed.
class RescanPace {
  public:
    explicit RescanPace(RescanTiming timing = {}) : timing_(timing) {}

    // A scan came back; `changed` when files came, went or changed size.
    // Returns the delay until the next scan.
    std::chrono::milliseconds ScanDone(bool changed);
    // A watcher saw the folder change. Returns the latest the next scan may
    // come; a scan due sooner stays.
    std::chrono::milliseconds FolderChanged();

    // Whether the scan starting at `now` looks at every known file, not
    // only at the folders that changed and the files still being written:
    // at the first scan, then at the first scan once `quiet` has (about)
    // passed since the last such look. A file rewritten in place is thus seen
    // within a quiet spell, busy folder or not, and the extra stats come no
    // more often than the quiet scans do.
    bool EveryFileDue(std::chrono::steady_clock::time_point now);

    bool Quiet() const { return unchanged_ >= timing_.quietScans; }
    const RescanTiming& Timing() const { return timing_; }

  private:
    RescanTiming timing_;
    int unchanged_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastEveryFile_;
};

}  // namespace korvana
