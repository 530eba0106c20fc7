#include "web/LinkText.h"

#include "util/AsciiCase.h"

#include <array>

namespace korvana {
namespace {

// The order is part of the meaning: each escape is decoded across the whole
// link before the next is looked for.
constexpr std::array<unsigned char, 35> kDecodedInOrder = {
    0x0A, 0x0D, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29,
    0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0x40, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x7B, 0x7C, 0x7D, 0x7E,
};

void ReplaceEscape(std::string& text, unsigned char decoded) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char escape[3] = {'%', kHex[decoded >> 4], kHex[decoded & 0x0F]};
    const std::string_view pattern(escape, 3);
    std::size_t at = text.find(pattern);
    if (at == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (; at != std::string::npos; at = text.find(pattern, from)) {
        out.append(text, from, at - from);
        out += static_cast<char>(decoded);
        from = at + pattern.size();
    }
    out.append(text, from, std::string::npos);
    text = std::move(out);
}

}  // namespace

std::string DecodeLink(std::string_view link) {
    std::string text(link);
    for (const unsigned char decoded : kDecodedInOrder) {
        ReplaceEscape(text, decoded);
    }
    return text;
}

std::optional<std::string> DownloadExtension(std::string_view link, WmaRule wma) {
    const std::size_t dot = link.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view extension = link.substr(dot + 1);
    if (wma == WmaRule::BecomesMp3 && EqualsIgnoringCase(extension, "wma")) {
        return std::string("mp3");
    }
    if (extension.size() > 3 && extension.find('?') != std::string_view::npos) {
        extension = extension.substr(0, extension.find('?'));
    }
    if (extension.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(extension);
}

std::string DetailResultName(std::string_view title, std::string_view link, WmaRule wma) {
    std::string name(title);
    if (const auto extension = DownloadExtension(link, wma)) {
        name += '.';
        name += *extension;
    }
    return name;
}

std::string ListedResultName(std::string_view title, std::string_view link) {
    std::string name(title);
    const std::size_t dot = link.rfind('.');
    if (dot != std::string_view::npos && link.find('/', dot) == std::string_view::npos) {
        name += link.substr(dot);
    }
    return name;
}

}  // namespace korvana
