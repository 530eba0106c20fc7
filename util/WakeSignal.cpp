#include "util/WakeSignal.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace korvana {

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

WakeSignal::~WakeSignal() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void WakeSignal::Notify() {
    const std::uint64_t one = 1;
    // A full counter already wakes the reader, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void WakeSignal::Drain() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t got = read(fd_, &count, sizeof count);
}

}  // namespace korvana
