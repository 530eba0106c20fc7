#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvana::test {

// The MD4 digest of `data`: an eDonkey file of one part is known by it. The
// test peers compute it themselves, since OpenSSL offers MD4 only through a
// provider that many systems leave unloaded.
std::array<std::uint8_t, 16> Md4(std::string_view data);

// The digest as 32 lower-case hexadecimal digits.
std::string Md4Hex(std::string_view data);

}  // namespace korvana::test
