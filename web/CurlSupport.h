#pragma once

#include <curl/curl.h>

namespace korvana {

// libcurl's global set-up, done once before the first handle is made.
void EnsureCurlReady();

// Which addresses a libcurl transfer may connect to: with `mayReachLocal`
// false, a local address (IsLocalAddress) is refused before any byte is
// sent, and `refused` tells that this happened.
struct CurlAddressRule {
    bool mayReachLocal = true;
    bool refused = false;
};

// Makes `curl` open its sockets through `rule`, which must outlive the
// transfer.
void ApplyAddressRule(CURL* curl, CurlAddressRule& rule);

}  // namespace korvana
