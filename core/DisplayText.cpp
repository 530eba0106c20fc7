#include "core/DisplayText.h"

#include <cstdint>
#include <optional>

namespace korvana {
namespace {

bool IsBidiControl(std::uint32_t code) {
    return code == 0x061C || code == 0x200E || code == 0x200F ||
           (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

bool IsControl(std::uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029;
}

// The code point at `at` and its length in bytes, when a well-formed UTF-8
// sequence starts there.
std::optional<std::uint32_t> DecodeAt(std::string_view text, std::size_t at, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF) {
        return std::nullopt;
    }
    return code;
}

bool IsUtf8(std::string_view text) {
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size(); at += length) {
        if (!DecodeAt(text, at, length)) {
            return false;
        }
    }
    return true;
}

// Text that is UTF-8 throughout: character by character.
std::string ShownCharacters(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    std::size_t length = 0;
    for (std::size_t at = 0; at < text.size(); at += length) {
        const std::uint32_t code = *DecodeAt(text, at, length);
        if (IsControl(code)) {
            shown += ' ';
        } else if (!IsBidiControl(code)) {
            shown.append(text.substr(at, length));
        }
    }
    return shown;
}

// Other text is shown byte by byte, as Latin-1: its controls (C1 included)
// become spaces. Every UTF-8 form of a bidirectional control or of a C1
// control holds a byte from 0x80 to 0x9F, so none can be left or formed.
std::string ShownBytes(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControl(byte)) {
            c = ' ';
        }
    }
    return shown;
}

}  // namespace

std::string DisplayText(std::string_view text) {
    return IsUtf8(text) ? ShownCharacters(text) : ShownBytes(text);
}

}  // namespace korvana
