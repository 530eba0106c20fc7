#include "util/StopSignal.h"

#include <poll.h>

#include <algorithm>

namespace korvana {

void StopSignal::Trigger() {
    if (!triggered_.exchange(true)) {
        wake_.Notify();
    }
}

bool StopSignal::WaitFor(std::chrono::milliseconds delay) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + delay;
    while (!Triggered()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return true;
        }
        // Without a descriptor, wake every 50 ms to look at the flag.
        pollfd wait{Fd(), POLLIN, 0};
        const auto slice = Fd() >= 0 ? left : std::min(left, std::chrono::milliseconds(50));
        poll(&wait, Fd() >= 0 ? 1 : 0,
             static_cast<int>(std::min<long long>(slice.count(), 1 << 30)));
    }
    return false;
}

}  // namespace korvana
