#pragma once

#include <string>

namespace korvana {

// printf-style formatting of one status-log line.
std::string FormatStatusLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// `value` with one decimal and a point whatever the locale, right-aligned
// in `width` characters like "%5.1f".
std::string FixedOneDecimal(double value, int width);

}  // namespace korvana
