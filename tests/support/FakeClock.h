#pragma once

#include <chrono>

#include "platform/Clock.h"

namespace korvana::test {

// A clock that moves only when told to.
class FakeClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return now_; }
    std::time_t WallNow() const override { return wall_; }

    void Advance(std::chrono::milliseconds step) {
        now_ += step;
        wall_ += static_cast<std::time_t>(
            std::chrono::duration_cast<std::chrono::seconds>(step).count());
    }
    void SetWall(std::time_t wall) { wall_ = wall; }

  private:
    std::chrono::steady_clock::time_point now_{std::chrono::hours(1)};
    std::time_t wall_ = 1'700'000'000;
};

}  // namespace korvana::test
