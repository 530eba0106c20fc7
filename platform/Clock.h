#pragma once

#include <chrono>
#include <ctime>

namespace korvana {

// Time as the program sees it. Logic takes a Clock so tests can drive timers
// and time-outs without sleeping.
class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic time for intervals and time-outs.
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    // Calendar time in seconds, for values that are stored or shown.
    virtual std::time_t WallNow() const = 0;
};

class SystemClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override {
        return std::chrono::steady_clock::now();
    }
    std::time_t WallNow() const override { return std::time(nullptr); }
};

}  // namespace korvana
