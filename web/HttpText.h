#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "web/HttpOptions.h"

namespace korvana {

// Where one request goes. A redirect rewrites it in place.
struct HttpTarget {
    // Host and path longer than this are cut.
    static constexpr std::size_t kMaxField = 511;

    std::uint16_t port = 80;
    // The object: path and query, exactly as sent on the request line.
    std::string path;
    // Sent in the Host header (never with the port) and resolved for the connection.
    std::string host;
    // An https URL: the exchange goes through TLS with the server's
    // certificate checked, never as plain text.
    bool secure = false;
};

// Splits an absolute http or https URL. The port defaults to 80 or 443 by
// scheme, the object to "/". The object is escaped for the request line
// (UrlEscape::RequestLine). Absent for any other
// scheme, an empty host or a port that is not a number from 1 to 65535.
std::optional<HttpTarget> SplitUrl(std::string_view url);

// Reads a redirect's new location: the host between "://" and the next "/",
// an optional ":port" (80 or 443 by scheme otherwise), the path from that
// "/" on ("/" when there is none). Absent unless the scheme is http or
// https, when the host is empty or the port is not a number from 1 to 65535.
std::optional<HttpTarget> ParseRedirectUrl(std::string_view url);

// What a response says about where to go next.
enum class RedirectStep {
    None,     // not a redirect: this is the answer
    Follow,   // `target` now names the new location
    Refused,  // a redirect to a place that is not an http or https URL
};

// When `response` (the raw text of an exchange) is a 30x answer with a
// location, rewrites `target` to the new location and returns Follow. A
// relative location stays on the current host, port and scheme. A location
// with any scheme other than http or https ("file:", "ftp:", ...) is
// Refused, never joined as a path.
RedirectStep ApplyRedirect(HttpTarget& target, std::string_view response, RedirectJoin join);

// The request text sent for `target` (see HttpMethod).
std::string BuildRequest(const HttpTarget& target, HttpMethod method);

// Cuts `text` to at most `limit` bytes without splitting a UTF-8 sequence.
void CutToLimit(std::string& text, std::size_t limit);

}  // namespace korvana
