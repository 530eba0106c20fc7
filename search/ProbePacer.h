#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "search/SizeProbes.h"
#include "util/TaskPool.h"

namespace korvana {

class SearchModel;
struct ProbeJob;

// Paces the size probes of the web results: a probe starts at most once per
// gap, at most kMaxRunningProbes run at once, the newest result first, and
// only while results wait. One task on a pool of one thread paces them; it
// runs while results wait and ends when none do, so that nothing wakes while
// nothing waits. A new result wakes it again (Wake); while every slot is
// taken, the probe that ends wakes it.
class ProbePacer {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds kProbeGap{250};

    // Probes run through `probes`, or through the HTTP client when it is null.
    ProbePacer(SearchModel& model, std::unique_ptr<HeaderProbes> probes,
               std::chrono::milliseconds gap = kProbeGap);
    ~ProbePacer();
    ProbePacer(const ProbePacer&) = delete;
    ProbePacer& operator=(const ProbePacer&) = delete;

    // Any thread: web results wait for probes.
    void Wake();

    // One step of the pacing at `now`: starts the next probe when one may
    // start. Returns when the next step is due: nothing when no result
    // waits, TimePoint::max() while every slot is taken. The pacing task
    // calls it; a test that steps time itself calls it instead of Wake.
    std::optional<TimePoint> Pace(TimePoint now);

    int RunningProbes() const { return running_.load(); }
    // True from a Wake until the pacing task has ended.
    bool Pacing() const;
    // How many times the pacing stepped, woke or not.
    int Steps() const { return steps_.load(); }

    // Ends the pacing and every probe at once and joins their threads; no
    // probe starts or reports afterwards. Also done by the destructor.
    void Stop();

  private:
    void PaceTask();
    void ProbeTask(const ProbeJob& job);

    SearchModel& model_;
    const std::chrono::milliseconds gap_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;   // results came since the task last looked
    bool pacing_ = false;  // the task is queued or running
    std::atomic<bool> stopping_{false};
    std::atomic<int> running_{0};
    std::atomic<int> steps_{0};
    // Only the one caller of Pace touches it.
    std::optional<TimePoint> lastStart_;
    TaskPool pacer_{1};
    // Last, so that its workers are joined before the members they use go.
    std::unique_ptr<HeaderProbes> probes_;
};

}  // namespace korvana
