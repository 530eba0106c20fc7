#include "web/HttpConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#include "util/StopSignal.h"
#include "web/AddressRules.h"
#include "web/CurlSupport.h"

namespace korvana {
namespace {

using Clock = std::chrono::steady_clock;

// Names that cannot be a host are refused before the resolver sees them:
// they come from redirects and scraped links.
bool IsPlausibleHostName(std::string_view host) {
    if (host.empty() || host.size() > 253) {
        return false;
    }
    return std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
    });
}

std::optional<sockaddr_in> ResolveIpv4(const std::string& host, std::uint16_t port) {
    if (!IsPlausibleHostName(host)) {
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    freeaddrinfo(found);
    address.sin_port = htons(port);
    return address;
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
}

struct TlsWatch {
    const StopSignal* stop;
};

// Ends a TLS handshake at a stop.
int TlsProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const StopSignal* stop = static_cast<TlsWatch*>(user)->stop;
    return stop != nullptr && stop->Triggered() ? 1 : 0;
}

HttpResult TlsConnectCode(CURLcode code, const CurlAddressRule& rule) {
    switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
            return HttpResult::NoHost;
        case CURLE_OPERATION_TIMEDOUT:
            return HttpResult::TimedOut;
        case CURLE_ABORTED_BY_CALLBACK:
            return HttpResult::Failed;
        case CURLE_COULDNT_CONNECT:
            return rule.refused ? HttpResult::Refused : HttpResult::ConnectFailed;
        default:
            // Every TLS failure, a certificate that does not check out first.
            return HttpResult::Refused;
    }
}

}  // namespace

HttpConnection::~HttpConnection() {
    Close();
}

void HttpConnection::Close() {
    if (tls_ != nullptr) {
        curl_easy_cleanup(tls_);
        tls_ = nullptr;
    } else if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = -1;
}

HttpResult HttpConnection::Open(const HttpTarget& target, HttpMethod method, bool mayReachLocal) {
    Close();
    HttpResult code =
        target.secure ? ConnectTls(target, mayReachLocal) : Connect(target, mayReachLocal);
    if (code == HttpResult::Ok) {
        code = SendAll(BuildRequest(target, method));
    }
    if (code != HttpResult::Ok) {
        Close();
    }
    return code;
}

// The socket is non-blocking from the start so that connecting and sending
// can be woken by the stop signal; the kernel still decides when a connect
// attempt has failed.
HttpResult HttpConnection::Connect(const HttpTarget& target, bool mayReachLocal) {
    const auto address = ResolveIpv4(target.host, target.port);
    if (!address) {
        return HttpResult::NoHost;
    }
    if (!mayReachLocal && IsLocalAddress(reinterpret_cast<const sockaddr*>(&*address))) {
        return HttpResult::Refused;
    }
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        std::fputs("Failed to create a socket.\n", stderr);
        return HttpResult::NoSocket;
    }
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0) {
        return HttpResult::NonBlockingFailed;
    }
    if (connect(fd_, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0) {
        return HttpResult::Ok;
    }
    if (errno != EINPROGRESS) {
        return HttpResult::ConnectFailed;
    }
    if (const HttpResult waited = Wait(POLLOUT, std::nullopt); waited != HttpResult::Ok) {
        return waited == HttpResult::OverTime ? waited : HttpResult::Failed;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        return HttpResult::ConnectFailed;
    }
    return HttpResult::Ok;
}

// libcurl makes the connection and the TLS handshake, checking the server's
// certificate and name, and then hands over the raw channel: the request and
// answer are the socket client's own, only encrypted.
HttpResult HttpConnection::ConnectTls(const HttpTarget& target, bool mayReachLocal) {
    if (!IsPlausibleHostName(target.host)) {
        return HttpResult::NoHost;
    }
    EnsureCurlReady();
    tls_ = curl_easy_init();
    if (tls_ == nullptr) {
        return HttpResult::NoSocket;
    }
    const std::string url = "https://" + target.host + ":" + std::to_string(target.port) + "/";
    auto connectTime = options_.idleTimeout;
    if (deadline_) {
        connectTime = std::min(connectTime, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                *deadline_ - Clock::now()));
    }
    CurlAddressRule rule{mayReachLocal};
    TlsWatch watch{options_.stop};
    curl_easy_setopt(tls_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(tls_, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(tls_, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(tls_, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(tls_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(tls_, CURLOPT_CONNECTTIMEOUT_MS, std::max<long>(1, connectTime.count()));
    curl_easy_setopt(tls_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(tls_, CURLOPT_XFERINFOFUNCTION, &TlsProgress);
    curl_easy_setopt(tls_, CURLOPT_XFERINFODATA, &watch);
    ApplyAddressRule(tls_, rule);
    const CURLcode connected = curl_easy_perform(tls_);
    if (connected != CURLE_OK) {
        return TlsConnectCode(connected, rule);
    }
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(tls_, CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
        socket == CURL_SOCKET_BAD) {
        return HttpResult::ConnectFailed;
    }
    fd_ = socket;
    return HttpResult::Ok;
}

long HttpConnection::SendSome(std::string_view text) {
    if (tls_ == nullptr) {
        return send(fd_, text.data(), text.size(), MSG_NOSIGNAL);
    }
    std::size_t sent = 0;
    const CURLcode code = curl_easy_send(tls_, text.data(), text.size(), &sent);
    if (code == CURLE_OK) {
        return static_cast<long>(sent);
    }
    errno = code == CURLE_AGAIN ? EAGAIN : EIO;
    return -1;
}

long HttpConnection::ReceiveSome(char* buffer, std::size_t capacity) {
    if (tls_ == nullptr) {
        return recv(fd_, buffer, capacity, 0);
    }
    std::size_t received = 0;
    const CURLcode code = curl_easy_recv(tls_, buffer, capacity, &received);
    if (code == CURLE_OK) {
        return static_cast<long>(received);
    }
    errno = code == CURLE_AGAIN ? EAGAIN : EIO;
    return -1;
}

// The whole text goes out even when the kernel takes it in parts; a request
// cut short would be answered with an error or not at all.
HttpResult HttpConnection::SendAll(std::string_view text) {
    const auto deadline = Clock::now() + options_.idleTimeout;
    while (!text.empty()) {
        const long sent = SendSome(text);
        if (sent > 0) {
            text.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        int error = sent < 0 ? errno : EIO;
        if (error == EINTR) {
            continue;
        }
        if (error == EAGAIN || error == EWOULDBLOCK) {
            const HttpResult waited = Wait(POLLOUT, deadline);
            if (waited == HttpResult::Ok) {
                continue;
            }
            if (waited == HttpResult::Failed || waited == HttpResult::OverTime) {
                return waited;
            }
            error = ETIMEDOUT;
        }
        std::fprintf(stderr, "could not send URL:  errno=%d (%s)\n", error,
                     std::error_code(error, std::generic_category()).message().c_str());
        return HttpResult::SendFailed;
    }
    return HttpResult::Ok;
}

HttpResult HttpConnection::Receive(char* buffer, std::size_t capacity, std::size_t& received) {
    received = 0;
    if (fd_ < 0) {
        return HttpResult::ReceiveFailed;
    }
    const auto deadline = Clock::now() + options_.idleTimeout;
    for (;;) {
        const long got = ReceiveSome(buffer, capacity);
        if (got >= 0) {
            received = static_cast<std::size_t>(got);
            return HttpResult::Ok;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return HttpResult::ReceiveFailed;
        }
        const HttpResult waited = Wait(POLLIN, deadline);
        if (waited != HttpResult::Ok) {
            return waited;
        }
    }
}

HttpResult HttpConnection::Wait(short events, std::optional<TimePoint> idleDeadline) {
    const StopSignal* stop = options_.stop;
    // A stop signal without a descriptor cannot wake poll(): look at its flag
    // every 50 ms instead.
    const bool wakeable = stop == nullptr || stop->Fd() >= 0;
    pollfd fds[2] = {{fd_, events, 0}, {stop != nullptr ? stop->Fd() : -1, POLLIN, 0}};
    for (;;) {
        if (stop != nullptr && stop->Triggered()) {
            return HttpResult::Failed;
        }
        int timeout = -1;
        if (deadline_) {
            timeout = MillisecondsUntil(*deadline_);
            if (timeout == 0 && Clock::now() >= *deadline_) {
                return HttpResult::OverTime;
            }
        }
        if (idleDeadline) {
            const int idleLeft = MillisecondsUntil(*idleDeadline);
            if (idleLeft == 0 && Clock::now() >= *idleDeadline) {
                return HttpResult::TimedOut;
            }
            timeout = timeout < 0 ? idleLeft : std::min(timeout, idleLeft);
        }
        if (!wakeable) {
            timeout = timeout < 0 ? 50 : std::min(timeout, 50);
        }
        const int ready = poll(fds, 2, timeout);
        if (ready < 0 && errno != EINTR) {
            return HttpResult::Failed;
        }
        if (ready > 0 && fds[0].revents != 0) {
            return HttpResult::Ok;
        }
    }
}

}  // namespace korvana
