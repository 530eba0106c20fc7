#pragma once

#include <cstdint>

namespace korvana {

// The pseudo-random source of the button shades: a linear congruential
// generator with results from 0 to 32767. It is ours rather than the C
// library's so that one seed and one button size give the same shade on
// every machine and in every test run.
class ShadeRandom {
  public:
    static constexpr int kMax = 32767;

    explicit ShadeRandom(std::uint32_t seed = 1) : state_(seed) {}

    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }

  private:
    std::uint32_t state_;
};

}  // namespace korvana
