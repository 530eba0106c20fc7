#include "app/StartupSequences.h"

#include <utility>

#include "platform/Clock.h"
#include "platform/CoreProcess.h"

namespace korvana {

SplashStep SplashTick(int ticksBefore) {
    switch (ticksBefore) {
        case 0:
            return {"Loading configuration files", false};
        case 1:
            return {"Initializing web services", false};
        case 2:
            return {"Initializing p2p services", false};
        case 4:
            return {"Starting flux capacitor", false};
        case 5:
            return {std::nullopt, true};
        default:
            return {};
    }
}

CoreStopper::CoreStopper(const Clock& clock, CoreProcess& core, Note note, bool coreIsRemote)
    : clock_(clock), core_(core), note_(std::move(note)), coreIsRemote_(coreIsRemote) {}

// A core on this computer that happens to run is not the remote one: it is
// not looked at either.
bool CoreStopper::BeginWait() {
    started_ = clock_.Now();
    if (coreIsRemote_) {
        Say("The core is not ours: it is left running.");
        done_ = false;
        return true;
    }
    done_ = !core_.IsCoreRunning();
    return !done_;
}

bool CoreStopper::Poll() {
    if (done_) {
        return true;
    }
    if (coreIsRemote_) {
        done_ = clock_.Now() - started_ >= kLeaveNotice;
        return done_;
    }
    if (!core_.IsCoreRunning()) {
        if (phase_ != Phase::Polite) {
            Say("The core has stopped.");
        }
        done_ = true;
        return true;
    }
    done_ = Escalate(clock_.Now() - started_);
    return done_;
}

// True when there is nothing more to try.
bool CoreStopper::Escalate(std::chrono::steady_clock::duration waited) {
    switch (phase_) {
        case Phase::Polite:
            if (waited < kPoliteWait) {
                return false;
            }
            if (!core_.SignalStartedCore(false)) {
                Say("The core did not exit after the shutdown message; it was not started "
                    "by this program and is left running.");
                return true;
            }
            Say("The core did not exit after the shutdown message: sent it SIGTERM.");
            phase_ = Phase::Terminated;
            return false;
        case Phase::Terminated:
            if (waited < kPoliteWait + kTermWait) {
                return false;
            }
            if (!core_.SignalStartedCore(true)) {
                return true;
            }
            Say("The core did not exit after SIGTERM: sent it SIGKILL.");
            phase_ = Phase::Killed;
            return false;
        case Phase::Killed:
            if (waited < kBudget) {
                return false;
            }
            Say("The core still runs after SIGKILL.");
            return true;
    }
    return true;
}

void CoreStopper::Say(std::string_view line) const {
    if (note_) {
        note_(line);
    }
}

}  // namespace korvana
