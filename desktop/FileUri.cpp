#include "desktop/FileUri.h"

#include "util/AsciiCase.h"
#include "util/PercentText.h"

namespace korvana {

namespace {

constexpr std::string_view kScheme = "file://";

bool IsUnreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::optional<std::string> LocalPathFromFileUri(std::string_view uri) {
    if (uri.size() > kMaxFileUriBytes || !StartsWithIgnoringCase(uri, kScheme)) {
        return std::nullopt;
    }
    std::string_view rest = uri.substr(kScheme.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && !EqualsIgnoringCase(host, "localhost")) {
        return std::nullopt;
    }
    rest = rest.substr(slash);
    if (rest.find_first_of("?#") != std::string_view::npos ||
        rest.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<std::string> path = PercentDecoded(rest, {.strict = true});
    // A path whose own URI would be too long to be read back is refused too:
    // raw bytes that a URI must escape take three times the room.
    if (path && FileUriFromLocalPath(*path).size() > kMaxFileUriBytes) {
        return std::nullopt;
    }
    return path;
}

std::string FileUriFromLocalPath(std::string_view path) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string uri(kScheme);
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte) || c == '/') {
            uri += c;
        } else {
            uri += '%';
            uri += kDigits[byte >> 4];
            uri += kDigits[byte & 0x0F];
        }
    }
    return uri;
}

}  // namespace korvana
