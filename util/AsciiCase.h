#pragma once

#include <string>
#include <string_view>

namespace korvana {

// Letter case folded for the ASCII letters only. Header names, tag names,
// links, status texts and search words then compare the same whatever
// locale the desktop has set, and bytes of UTF-8 names are never changed.

std::string AsciiLowered(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);
// Negative, zero or positive, as `a` sorts before, with or after `b`; a
// text that is the start of another sorts first.
int CompareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace korvana
