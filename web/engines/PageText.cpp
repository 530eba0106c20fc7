#include "web/engines/PageText.h"

#include <cctype>

namespace korvana {
namespace {

constexpr auto npos = std::string_view::npos;

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

std::string_view Between(std::string_view text, std::string_view open, std::string_view close,
                         std::size_t from) {
    const std::size_t start = text.find(open, from);
    if (start == npos) {
        return {};
    }
    const std::size_t begin = start + open.size();
    const std::size_t end = text.find(close, begin);
    if (end == npos) {
        return {};
    }
    return text.substr(begin, end - begin);
}

long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 1'000'000'000'000'000LL) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

std::string WithoutLeadingBlanksAndCommas(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    std::string kept;
    for (char c : text.substr(i)) {
        if (c != ',') {
            kept += c;
        }
    }
    return kept;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != npos; at = text.find(from, start)) {
        out.append(text.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace korvana
