#pragma once

#include <string>
#include <string_view>

namespace korvana {

// Which bytes of a piece of a URL travel as percent escapes ("%XX", capital
// hex digits). Each set serves one kind of caller.
enum class UrlEscape {
    // The object on the socket client's request line, which goes out exactly
    // as written: blanks, control bytes and DEL only, since they would end or
    // split the line. Everything else, non-ASCII bytes included, is sent
    // unchanged, as the engines expect.
    RequestLine,
    // A whole URL handed to the system HTTP library, whose parser refuses or
    // mangles what a URL may not hold: also non-ASCII bytes and "\"<>\\^`{|}".
    // Reserved characters ("/?&=#%") keep their meaning.
    WholeUrl,
    // One value of a query string: every byte but the unreserved letters,
    // digits and "-._~", so that "&", "=", "+", "/" and "%" arrive as data.
    QueryValue,
};

// `text` with every byte of `set` replaced by its percent escape.
std::string EscapeUrl(std::string_view text, UrlEscape set);

}  // namespace korvana
