#include "search/ProbeHeader.h"

#include "util/AsciiCase.h"

#include <limits>

namespace korvana {
namespace {

constexpr std::string_view kLengthField = "content-length";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The status: the three characters after the first space, all digits.
std::optional<int> StatusOf(std::string_view header) {
    const std::size_t space = header.find(' ');
    if (space == std::string_view::npos || header.size() - space - 1 < 3) {
        return std::nullopt;
    }
    int status = 0;
    for (std::size_t i = space + 1; i < space + 4; ++i) {
        if (!IsDigit(header[i])) {
            return std::nullopt;
        }
        status = status * 10 + (header[i] - '0');
    }
    return status;
}

// The leading decimal number of a field value, after blanks and an optional
// sign; nothing when there is no digit or the number does not fit.
std::optional<std::int64_t> LeadingNumber(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    if (i >= value.size() || !IsDigit(value[i])) {
        return std::nullopt;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t number = 0;
    for (; i < value.size() && IsDigit(value[i]); ++i) {
        const int digit = value[i] - '0';
        if (number > (kMax - digit) / 10) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    return negative ? -number : number;
}

// The value of the first Content-Length field, up to its line's end.
std::optional<std::string_view> LengthValue(std::string_view header) {
    std::size_t start = header.find_first_of("\r\n");
    while (start != std::string_view::npos && start < header.size()) {
        start = header.find_first_not_of("\r\n", start);
        if (start == std::string_view::npos) {
            break;
        }
        std::size_t end = header.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = header.size();
        }
        const std::string_view line = header.substr(start, end - start);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos &&
            EqualsIgnoringCase(line.substr(0, colon), kLengthField)) {
            return line.substr(colon + 1);
        }
        start = end;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> SizeFromHeader(std::string_view header) {
    if (StatusOf(header) != 200) {
        return std::nullopt;
    }
    const std::optional<std::string_view> value = LengthValue(header);
    if (!value) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> length = LeadingNumber(*value);
    if (!length || *length < 1) {
        return std::nullopt;
    }
    return length;
}

}  // namespace korvana
