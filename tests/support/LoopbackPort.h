#pragma once

#include <cstdint>

namespace korvana::test {

// A loopback port that nothing listens on at the moment of the call: for a
// connection that must be refused, or for a program to take next.
std::uint16_t UnusedLoopbackPort();

}  // namespace korvana::test
