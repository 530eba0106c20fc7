#pragma once

#include <string>

namespace korvana {

// printf-style formatting into a std::string, for the status-log lines.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// `value` with one decimal and a point whatever the locale, right-aligned
// in `width` characters like "%5.1f".
std::string FixedOneDecimal(double value, int width);

}  // namespace korvana
