#include "util/StopSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace korvana {

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

StopSignal::~StopSignal() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void StopSignal::Trigger() {
    if (triggered_.exchange(true)) {
        return;
    }
    if (fd_ >= 0) {
        const std::uint64_t one = 1;
        // Nobody reads the counter, so the descriptor stays readable.
        [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
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
        pollfd wait{fd_, POLLIN, 0};
        const auto slice = fd_ >= 0 ? left : std::min(left, std::chrono::milliseconds(50));
        poll(&wait, fd_ >= 0 ? 1 : 0,
             static_cast<int>(std::min<long long>(slice.count(), 1 << 30)));
    }
    return false;
}

}  // namespace korvana
