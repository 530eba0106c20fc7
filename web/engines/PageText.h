#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvana {

// Plain text search helpers of the engines' page cutting.

// The text between `open` (first found at or after `from`) and the next
// `close`; empty when either is missing. An empty `open` is found at `from`.
std::string_view Between(std::string_view text, std::string_view open, std::string_view close,
                         std::size_t from = 0);

// A number read the way the C library's atoi reads it: leading blanks, a
// sign, then digits up to the first other character; no digits read as 0.
// Held far from overflow.
long long LeadingInteger(std::string_view text);

// The text without its leading blanks and without any comma.
std::string WithoutLeadingBlanksAndCommas(std::string_view text);

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace korvana
