#include "web/AddressRules.h"

#include <netinet/in.h>

#include <cstdint>
#include <cstring>

#include "util/AsciiCase.h"
#include "web/HttpOptions.h"

namespace korvana {
namespace {

bool InRange(std::uint32_t address, std::uint32_t network, int bits) {
    const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
    return (address & mask) == network;
}

bool IsLocalIpv4(std::uint32_t a) {
    return InRange(a, 0x00000000, 8) ||   // "this network"
           InRange(a, 0x0A000000, 8) ||   // private
           InRange(a, 0x64400000, 10) ||  // shared (carrier-grade NAT)
           InRange(a, 0x7F000000, 8) ||   // loopback
           InRange(a, 0xA9FE0000, 16) ||  // link-local
           InRange(a, 0xAC100000, 12) ||  // private
           InRange(a, 0xC0A80000, 16) ||  // private
           InRange(a, 0xE0000000, 3);     // multicast, reserved, broadcast
}

bool IsLocalIpv6(const in6_addr& address) {
    const unsigned char* b = address.s6_addr;
    if (IN6_IS_ADDR_V4MAPPED(&address)) {
        std::uint32_t v4 = 0;
        std::memcpy(&v4, b + 12, sizeof v4);
        return IsLocalIpv4(ntohl(v4));
    }
    return IN6_IS_ADDR_LOOPBACK(&address) || IN6_IS_ADDR_UNSPECIFIED(&address) ||
           (b[0] & 0xFE) == 0xFC ||                 // unique local
           (b[0] == 0xFE && (b[1] & 0xC0) == 0x80)  // link-local
           || b[0] == 0xFF;                         // multicast
}

}  // namespace

bool IsLocalAddress(const sockaddr* address) {
    if (address == nullptr) {
        return true;
    }
    if (address->sa_family == AF_INET) {
        sockaddr_in v4{};
        std::memcpy(&v4, address, sizeof v4);
        return IsLocalIpv4(ntohl(v4.sin_addr.s_addr));
    }
    if (address->sa_family == AF_INET6) {
        sockaddr_in6 v6{};
        std::memcpy(&v6, address, sizeof v6);
        return IsLocalIpv6(v6.sin6_addr);
    }
    return true;
}

bool IsSameServer(const HttpTarget& a, const HttpTarget& b) {
    return a.port == b.port && EqualsIgnoringCase(a.host, b.host);
}

FetchOrigin FetchOrigin::Of(const HttpOptions& options, const HttpTarget& fetched) {
    FetchOrigin origin;
    if (options.originUrls.empty()) {
        origin.origins.push_back(fetched);
    }
    for (const std::string& url : options.originUrls) {
        if (auto base = SplitUrl(url)) {
            origin.origins.push_back(std::move(*base));
        }
    }
    return origin;
}

}  // namespace korvana
