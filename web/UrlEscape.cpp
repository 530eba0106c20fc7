#include "web/UrlEscape.h"

namespace korvana {
namespace {

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

bool NeedsEscape(unsigned char byte, UrlEscape set) {
    static constexpr std::string_view kNotInUrl = "\"<>\\^`{|}";
    switch (set) {
        case UrlEscape::RequestLine:
            return byte <= 0x20 || byte == 0x7F;
        case UrlEscape::WholeUrl:
            return byte <= 0x20 || byte >= 0x7F ||
                   kNotInUrl.find(static_cast<char>(byte)) != std::string_view::npos;
        case UrlEscape::QueryValue:
            return !IsUnreserved(byte);
    }
    return true;
}

}  // namespace

std::string EscapeUrl(std::string_view text, UrlEscape set) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (NeedsEscape(byte, set)) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

}  // namespace korvana
