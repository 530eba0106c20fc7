#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "web/ResponseHeader.h"

namespace korvana {

class StopSignal;

// How an exchange ended. The numbers are kept stable for logs and tests.
enum class HttpResult : int {
    Ok = 0,                   // the server closed, or the header was read in a header-only read
    NoHost = -1,              // the host name cannot be resolved
    NoSocket = -2,            // no socket can be created
    ConnectFailed = -3,       // connect failed
    SendFailed = -6,          // send failed
    TimedOut = -7,            // no data for the whole idle time-out
    ReceiveFailed = -8,       // receive failed
    NonBlockingFailed = -10,  // the socket cannot be made non-blocking
    // Any other failure: too many redirects, an answer over the size limits,
    // or a stop at shutdown.
    Failed = -15,
    // The whole exchange took longer than its total time-out (an endless or
    // trickling answer).
    OverTime = -16,
    // Refused before connecting: a redirect to a scheme other than http or
    // https, or to a local address that the fetch may not reach, or an
    // https server whose certificate does not check out.
    Refused = -17,
};

// How a relative redirect location is joined to the current host.
enum class RedirectJoin {
    // Engines and size probes: a value not starting with "http" becomes host + "/" + value.
    SearchFamily,
    // Vendor services: a value without "http://" or "https://" becomes host + value.
    VendorFamily,
};

// The request the socket client writes.
enum class HttpMethod {
    // An HTTP/1.0 GET of the path and query.
    Get,
    // An HTTP/1.1 POST of the path alone whose form body is the query (the
    // part after the first "?"), as the second engine's form expects.
    FormPost,
};

// How far the socket client reads an answer.
enum class AnswerRead {
    // Until the server closes: the page fetches.
    Whole,
    // Until the end of the header, which is kept without the "\n\r\n" and
    // what follows: the size probes, which never want the file itself.
    HeaderOnly,
};

// How one request of the socket client is made and read.
struct RequestOptions {
    HttpMethod method = HttpMethod::Get;
    AnswerRead read = AnswerRead::Whole;
    RedirectJoin join = RedirectJoin::SearchFamily;
};

// Limits of one exchange. The defaults are the product's; tests shorten the
// time-out instead of waiting it out.
struct HttpOptions {
    // An exchange that receives nothing for this long ends with TimedOut.
    std::chrono::milliseconds idleTimeout{15000};
    // Above zero: a fetch (all its redirects together) that has not ended
    // after this long ends with OverTime, however steadily data comes.
    std::chrono::milliseconds totalTimeout{0};
    // A header that has not ended after this many bytes fails the exchange.
    std::size_t maxHeaderBytes = kMaxHeaderBytes;
    // A body longer than this fails the exchange; the text keeps this much.
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
    // Redirects followed before the exchange fails.
    int maxRedirects = 10;
    // When set and triggered, waits end at once and the exchange fails.
    const StopSignal* stop = nullptr;
    // The base URLs (ours: the engines' or the vendor's) that the fetched
    // URL may have come from, when a remote answer named it. None: the
    // fetched URL is our own. Either way a redirect or such a URL reaches a
    // local address only on one of these servers (see FetchOrigin).
    std::vector<std::string> originUrls;
};

}  // namespace korvana
