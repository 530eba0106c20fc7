#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvana {

// Reads a web file's size from the header of a GET of its link (read by
// ParseResponseHeader): the status must be 200 and the Content-Length at
// least 1. Anything else -- no header, another status, no usable length, 0
// -- is no size.
std::optional<std::int64_t> SizeFromHeader(std::string_view header);

}  // namespace korvana
