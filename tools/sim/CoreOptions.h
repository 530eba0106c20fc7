#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/CoreMessages.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {

// One of the eight networks the preferences can switch on.
struct NetworkDefinition {
    std::int32_t number;
    const char* name;
    const char* enableOption;
    const char* portOption;      // as the documented core names it
    const char* realPortOption;  // as a real 3.x core names it; null when it has none
    const char* defaultPort;
    bool enabledByDefault;
    std::int32_t servers;  // servers it is connected to while enabled
};

const std::array<NetworkDefinition, 8>& Networks();

// The core's option table, in the order it reports it: the transfer limits,
// the network switches and ports, and (in the documented form) the incoming
// folder. In the real core's form the ports carry that core's names (only
// the networks built into it have one), and like that core it refuses to
// set an option it does not have. Values are text, as on the wire. Bounded: names up to 255 bytes,
// values up to 4096, at most 512 options.
class CoreOptions {
  public:
    static constexpr std::size_t kMaxOptions = 512;
    static constexpr std::size_t kMaxName = 255;
    static constexpr std::size_t kMaxValue = 4096;

    explicit CoreOptions(WireForm form);

    const std::vector<OptionPair>& All() const { return options_; }
    std::optional<std::string> Value(std::string_view name) const;
    // False when the option is refused (too long, table full, or an option
    // this form of core does not have; the real core's form has no option
    // beyond those it starts with).
    bool Set(std::string_view name, std::string_view value);
    bool NetworkEnabled(const NetworkDefinition& network) const;

  private:
    WireForm form_;
    std::vector<OptionPair> options_;
};

}  // namespace korvana::sim
