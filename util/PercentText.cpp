#include "util/PercentText.h"

#include "util/HexDigit.h"

namespace korvana {

std::optional<std::string> PercentDecoded(std::string_view text, PercentDecoding how) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+' && how.plusIsSpace) {
            decoded += ' ';
            continue;
        }
        const int high = c == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = c == '%' && i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            if (c == '%' && how.strict) {
                return std::nullopt;
            }
            decoded += c;
            continue;
        }
        const char byte = static_cast<char>(high * 16 + low);
        if (byte == '\0' && how.strict) {
            return std::nullopt;
        }
        if (how.keepEscaped.find(byte) != std::string_view::npos) {
            decoded += c;
            continue;
        }
        decoded += byte;
        i += 2;
    }
    return decoded;
}

}  // namespace korvana
