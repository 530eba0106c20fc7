#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace korvana {

class Clock;
class SettingsStore;

// The settings key that switches the notices off with "0".
inline constexpr const char* kDownloadNoticesKey = "DownloadNotices";

// Whether the user wants the notices: on unless switched off.
bool ReadDownloadNoticesChoice(const SettingsStore& settings);
void WriteDownloadNoticesChoice(SettingsStore& settings, bool wanted);

// How one download ended.
struct DownloadOutcome {
    std::string name;
    bool failed = false;
    // Why a failed download failed, as the transfer list says it.
    std::string reason;
};

// What the desktop is asked to show.
struct DesktopNotice {
    std::string summary;
    std::string body;
};

// Tells the user, while they look elsewhere, that downloads ended: one
// notice per file, or one for all that end close together, so that a
// batch of fifty does not bury the desktop. Outcomes wait kGatherTime for
// others to join them; failures are told apart from finished files.
// Nothing is told while the program's window is active, or while switched
// off. Time comes from the clock, so the gathering is tested without waits.
class DownloadNotices {
  public:
    static constexpr std::chrono::milliseconds kGatherTime{1500};
    // More outcomes than this in one gathering are told as one notice.
    static constexpr std::size_t kMostSingleNotices = 2;
    // Names listed in a grouped notice; the rest are counted.
    static constexpr std::size_t kMostNamesListed = 5;

    explicit DownloadNotices(const Clock& clock) : clock_(clock) {}

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    // A download ended; `windowActive` says whether the user is looking.
    void Note(DownloadOutcome outcome, bool windowActive);
    // When the waiting outcomes are due; none when nothing waits.
    std::optional<std::chrono::steady_clock::time_point> NextDue() const;
    // The notices whose gathering time is over, leaving none waiting.
    std::vector<DesktopNotice> TakeDue();

  private:
    const Clock& clock_;
    bool enabled_ = true;
    std::vector<DownloadOutcome> waiting_;
    std::chrono::steady_clock::time_point due_{};
};

}  // namespace korvana
