#pragma once

#include <string>
#include <string_view>

#include "web/HttpOptions.h"
#include "web/HttpText.h"

namespace korvana {

// A GET through the system HTTP library (libcurl), for the pages of the first
// engine (search family) and the feedback form (vendor family). Returns the
// body with every line feed, carriage return and NUL removed, or the empty
// text on any failure. Both families connect to the URL's port (the scheme's
// default when it names none), ask for a fresh copy rather than a cached one,
// follow up to options.maxRedirects redirects and use TLS for https URLs,
// with the certificate checked. Redirects obey the socket client's rules:
// http or https only, local addresses only on the fetch's origin
// (FetchOrigin); the fetch ends after options.totalTimeout when set.
// They differ in two ways:
// - search family: TLS also for an http URL on port 443; the HTTP status is
//   not looked at;
// - vendor family: a status of 400 or above yields the empty text.
// Characters that a URL cannot carry (blanks, control and non-ASCII bytes)
// are sent as percent escapes. Time-out, size limit and stop signal are
// those of `options`.
// `result`, when given, gets kHttpOk or the failure's code.
std::string FetchWithSystemHttp(std::string_view url, RedirectJoin family,
                                const HttpOptions& options = {}, int* result = nullptr);

}  // namespace korvana
