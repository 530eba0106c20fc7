#include "web/CurlSupport.h"

#include <sys/socket.h>

#include <mutex>

#include "web/AddressRules.h"

namespace korvana {
namespace {

curl_socket_t OpenSocket(void* user, curlsocktype purpose, curl_sockaddr* address) {
    auto* rule = static_cast<CurlAddressRule*>(user);
    if (purpose == CURLSOCKTYPE_IPCXN && !rule->mayReachLocal && IsLocalAddress(&address->addr)) {
        rule->refused = true;
        return CURL_SOCKET_BAD;
    }
    return socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

}  // namespace

void EnsureCurlReady() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void ApplyAddressRule(CURL* curl, CurlAddressRule& rule) {
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &OpenSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, &rule);
}

}  // namespace korvana
