#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

namespace korvana {

class Clock;
class CoreProcess;
class StatusLog;

// Keeps the core this program started alive: at start-up it starts the
// core unless one runs already, and later, asked from a timer while the
// link to the core is down, it starts that core again once it no longer
// runs. At most kStartsPerMinute starts fall in any minute, so a core
// that dies at once is not started in a loop. A core found running at
// start-up belongs to someone else and is never started again here; so does
// a remote core (`coreIsRemote`, see IsRemoteCore), which is never started
// at all, not even when none runs on this computer.
class CoreRestarter {
  public:
    CoreRestarter(const Clock& clock, CoreProcess& core, StatusLog& log, bool coreIsRemote = false);

    // True when it started the core.
    bool StartIfAbsent();
    // True when it started the core again.
    bool RestartIfDead();
    // Whether RestartIfDead can ever start anything.
    bool Watching() const { return ours_; }

    static constexpr std::size_t kStartsPerMinute = 3;

  private:
    bool MayStart() const;
    void Launch();

    const Clock& clock_;
    CoreProcess& core_;
    StatusLog& log_;
    bool coreIsRemote_;
    bool ours_ = false;
    // The times of the latest starts, oldest first.
    std::deque<std::chrono::steady_clock::time_point> starts_;
};

}  // namespace korvana
