#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "web/HttpOptions.h"
#include "web/HttpText.h"

namespace korvana {

// How a family of callers uses the system HTTP library: each field is one
// habit of the servers that family talks to.
struct SystemHttpPolicy {
    // An http URL naming port 443 is fetched through TLS (the first engine's
    // pages are linked that way).
    bool tlsOnPort443 = false;
    // An answer whose status is 400 or above yields the empty text (the
    // feedback form: an error page is not a thank-you).
    bool errorStatusGivesNothing = false;
};

// The first engine's pages: TLS also for an http URL on port 443; the HTTP
// status is not looked at.
inline constexpr SystemHttpPolicy kSearchFamilySystemHttp{.tlsOnPort443 = true,
                                                          .errorStatusGivesNothing = false};
// The feedback form: a status of 400 or above yields the empty text.
inline constexpr SystemHttpPolicy kVendorFamilySystemHttp{.tlsOnPort443 = false,
                                                          .errorStatusGivesNothing = true};

// A GET through the system HTTP library (libcurl). Returns the body with
// every line feed, carriage return and NUL removed, or the empty text on any
// failure. It connects to the URL's port (the scheme's default when it names
// none), asks for a fresh copy rather than a cached one, follows up to
// options.maxRedirects redirects and uses TLS for https URLs, with the
// certificate checked; `policy` adds its family's habits. Redirects obey the
// socket client's rules: http or https only, local addresses only on the
// fetch's origin (FetchOrigin); the fetch ends after options.totalTimeout
// when set. Time-out, size limit and stop signal are those of `options`.
// `result`, when given, gets Ok or the failure's code.
std::string FetchWithSystemHttp(std::string_view url, const SystemHttpPolicy& policy,
                                const HttpOptions& options = {}, HttpResult* result = nullptr);

// The URL as the library gets it: the scheme by the policy's TLS rule, the
// host, the port always written out, and the object whole (a feedback
// message may be long) escaped as a whole URL (UrlEscape::WholeUrl). Absent
// when `url` is not an http or https URL.
std::optional<std::string> SystemHttpUrl(std::string_view url, const SystemHttpPolicy& policy);

}  // namespace korvana
