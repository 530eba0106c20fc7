#include "app/CoreRestarter.h"

#include <algorithm>

#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "platform/CoreProcess.h"

namespace korvana {

CoreRestarter::CoreRestarter(const Clock& clock, CoreProcess& core, StatusLog& log,
                             bool coreIsRemote)
    : clock_(clock), core_(core), log_(log), coreIsRemote_(coreIsRemote) {}

bool CoreRestarter::StartIfAbsent() {
    if (coreIsRemote_) {
        log_.Line("The core is not ours: it is not started here.");
        return false;
    }
    if (core_.IsCoreRunning()) {
        return false;
    }
    ours_ = true;
    Launch();
    return true;
}

// The count is checked first: it is cheap, and spares the look through
// the process list while no start is allowed anyway.
bool CoreRestarter::RestartIfDead() {
    if (!ours_ || !MayStart() || core_.IsCoreRunning()) {
        return false;
    }
    log_.Line("The core is not running: starting it again.");
    Launch();
    return true;
}

bool CoreRestarter::MayStart() const {
    const auto minuteAgo = clock_.Now() - std::chrono::minutes(1);
    const auto recent = std::count_if(starts_.begin(), starts_.end(),
                                      [minuteAgo](auto start) { return start > minuteAgo; });
    return static_cast<std::size_t>(recent) < kStartsPerMinute;
}

void CoreRestarter::Launch() {
    starts_.push_back(clock_.Now());
    if (starts_.size() > kStartsPerMinute) {
        starts_.pop_front();
    }
    core_.LaunchCore();
}

}  // namespace korvana
