#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace korvana {

class StopSignal;

// Result codes of an exchange on the socket client. Callers only tell 0 from
// the rest; the values are kept stable for logs and tests.
enum HttpResult : int {
    kHttpOk = 0,                   // the server closed, or the header was read in header-only mode
    kHttpNoHost = -1,              // the host name cannot be resolved
    kHttpNoSocket = -2,            // no socket can be created
    kHttpConnectFailed = -3,       // connect failed
    kHttpSendFailed = -6,          // send failed
    kHttpTimedOut = -7,            // no data for the whole idle time-out
    kHttpReceiveFailed = -8,       // receive failed
    kHttpNonBlockingFailed = -10,  // the socket cannot be made non-blocking
    // Any other failure: too many redirects, an answer over the size limits,
    // or a stop at shutdown.
    kHttpFailed = -15,
    // The whole exchange took longer than its total time-out (an endless or
    // trickling answer).
    kHttpOverTime = -16,
    // Refused before connecting: a redirect to a scheme other than http or
    // https, or to a local address that the fetch may not reach, or an
    // https server whose certificate does not check out.
    kHttpRefused = -17,
};

// Limits of one exchange. The defaults are the product's; tests shorten the
// time-out instead of waiting it out.
struct HttpOptions {
    // An exchange that receives nothing for this long ends with kHttpTimedOut.
    std::chrono::milliseconds idleTimeout{15000};
    // Above zero: a fetch (all its redirects together) that has not ended
    // after this long ends with kHttpOverTime, however steadily data comes.
    std::chrono::milliseconds totalTimeout{0};
    // A header that has not ended after this many bytes fails the exchange.
    std::size_t maxHeaderBytes = 64 * 1024;
    // A body longer than this fails the exchange; the text keeps this much.
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
    // Redirects followed before the exchange fails.
    int maxRedirects = 10;
    // When set and triggered, waits end at once and the exchange fails.
    const StopSignal* stop = nullptr;
    // The base URL (ours: an engine's or the vendor's) that the fetched URL
    // came from, when a remote answer named it. Empty: the fetched URL is
    // our own. Either way a redirect or such a URL reaches a local address
    // only on this base's server (see FetchOrigin).
    std::string originUrl;
};

}  // namespace korvana
