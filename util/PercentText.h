#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// How percent escapes ("%41") are read back.
struct PercentDecoding {
    // "+" stands for a space, as in form values.
    bool plusIsSpace = false;
    // A "%" without two hex digits after it, or an escaped NUL, makes the
    // whole text unreadable; otherwise such a "%" is kept as it stands.
    bool strict = false;
    // Bytes whose escapes stay as they are (an escaped "/" in a file name
    // would make it a path).
    std::string_view keepEscaped{};
};

// `text` with its escapes decoded; none only when `strict` refuses it.
std::optional<std::string> PercentDecoded(std::string_view text, PercentDecoding how = {});

}  // namespace korvana
