#pragma once

#include <sys/socket.h>

#include <algorithm>
#include <vector>

#include "web/HttpText.h"

namespace korvana {

// Addresses that lead into this machine or its local network rather than to
// the web: loopback, the private and shared ranges, link-local, "this
// network", multicast and broadcast, and their IPv6 counterparts (an
// IPv4-mapped address as its IPv4 address).
bool IsLocalAddress(const sockaddr* address);

// True when `a` and `b` are the same server: host (letter case aside) and
// port.
bool IsSameServer(const HttpTarget& a, const HttpTarget& b);

struct HttpOptions;

// Where a fetch may go. A URL of our own (an engine's or the vendor's base
// with a path) may lead anywhere; but a redirect, or a URL named by a
// remote answer (a result's link, a detail page), may reach a local address
// only on one of `origins`, the servers of the base URLs it may have come
// from. The engines of the simulated world live on loopback, so they keep
// working, while a hostile answer cannot point the program at another
// service on this machine or network, such as the core's own port.
struct FetchOrigin {
    std::vector<HttpTarget> origins;

    // The origins of a fetch of `fetched` with `options`: the options'
    // bases, or when it names none, the fetched URL's own server.
    static FetchOrigin Of(const HttpOptions& options, const HttpTarget& fetched);

    // Whether a connection for `target` may go to a local address.
    bool MayReachLocal(const HttpTarget& target) const {
        return std::any_of(origins.begin(), origins.end(), [&target](const HttpTarget& origin) {
            return IsSameServer(origin, target);
        });
    }
};

}  // namespace korvana
