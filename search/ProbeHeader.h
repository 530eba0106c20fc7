#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvana {

// Reads a web file's size from the header of a GET of its link: the status
// must be 200 and the first Content-Length field (its name in any letter
// case) must start with a decimal number of at least 1. Anything else -- no
// header, another status, no such field, 0, a negative or overflowing
// number -- is no size. Reads at most the given bytes; never fails otherwise.
std::optional<std::int64_t> SizeFromHeader(std::string_view header);

}  // namespace korvana
