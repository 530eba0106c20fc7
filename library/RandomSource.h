#pragma once

#include <cstdint>
#include <random>

namespace korvana {

// The draws behind random order, apart so that tests can script them.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void Seed(std::uint32_t seed) = 0;
    virtual std::uint32_t Draw() = 0;
};

class StandardRandomSource final : public RandomSource {
  public:
    void Seed(std::uint32_t seed) override { engine_.seed(seed); }
    std::uint32_t Draw() override { return static_cast<std::uint32_t>(engine_()); }

  private:
    std::minstd_rand engine_;
};

}  // namespace korvana
