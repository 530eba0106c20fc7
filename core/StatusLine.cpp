#include "core/StatusLine.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

namespace korvana {

std::string FormatStatusLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(size));
    }
    va_end(args);
    return text;
}

std::string FixedOneDecimal(double value, int width) {
    char digits[400];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 1);
    std::string text(digits, written.ec == std::errc() ? written.ptr : digits);
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

}  // namespace korvana
