#pragma once

#include <atomic>
#include <chrono>

#include "util/WakeSignal.h"

namespace korvana {

// A one-way switch that wakes every thread waiting on the network at once:
// it owns a file descriptor that becomes readable, for good, when the switch
// is thrown (a wake signal nobody drains), so a poll() on a socket can
// include it. Used to end fetches and pauses promptly at shutdown.
class StopSignal {
  public:
    void Trigger();
    bool Triggered() const { return triggered_.load(); }
    // Readable once triggered; -1 when the descriptor could not be made, in
    // which case waits fall back to short slices that check Triggered().
    int Fd() const { return wake_.Fd(); }

    // Waits for `delay` or until triggered; false when triggered.
    bool WaitFor(std::chrono::milliseconds delay) const;

  private:
    WakeSignal wake_;
    std::atomic<bool> triggered_{false};
};

}  // namespace korvana
