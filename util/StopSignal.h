#pragma once

#include <atomic>
#include <chrono>

namespace korvana {

// A one-way switch that wakes every thread waiting on the network at once:
// it owns a file descriptor that becomes readable, for good, when the switch
// is thrown, so a poll() on a socket can include it. Used to end fetches
// and pauses promptly at shutdown.
class StopSignal {
  public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Trigger();
    bool Triggered() const { return triggered_.load(); }
    // Readable once triggered; -1 when the descriptor could not be made, in
    // which case waits fall back to short slices that check Triggered().
    int Fd() const { return fd_; }

    // Waits for `delay` or until triggered; false when triggered.
    bool WaitFor(std::chrono::milliseconds delay) const;

  private:
    int fd_ = -1;
    std::atomic<bool> triggered_{false};
};

}  // namespace korvana
