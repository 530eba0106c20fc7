#include "app/StartupSequences.h"

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

CoreStopper::CoreStopper(const Clock& clock, const CoreProcess& core)
    : clock_(clock), core_(core) {}

bool CoreStopper::BeginWait() {
    started_ = clock_.Now();
    done_ = !core_.IsCoreRunning();
    return !done_;
}

bool CoreStopper::Poll() {
    if (!done_) {
        done_ = !core_.IsCoreRunning() || clock_.Now() - started_ >= kBudget;
    }
    return done_;
}

}  // namespace korvana
