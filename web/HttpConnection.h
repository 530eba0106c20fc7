#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "web/HttpOptions.h"
#include "web/HttpText.h"

namespace korvana {

// One HTTP exchange on a TCP socket: resolve the host (first IPv4 address),
// connect, send the request text, then receive the raw answer in chunks as
// it arrives. An https target is connected through libcurl with TLS and the
// server's certificate checked; the same request and answer then travel
// encrypted. The connection is closed when the object goes away. Web
// downloads and the benchmark read the answer chunk by chunk; SendRequest
// gathers it into one text.
class HttpConnection {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit HttpConnection(const HttpOptions& options) : options_(options) {}
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // Every wait of this exchange ends at `deadline` with kHttpOverTime.
    void SetDeadline(TimePoint deadline) { deadline_ = deadline; }

    // Sends BuildRequest(target, post). With `mayReachLocal` false a local
    // address (IsLocalAddress) is refused before connecting. Returns kHttpOk
    // or kHttpNoHost, kHttpNoSocket, kHttpConnectFailed, kHttpSendFailed,
    // kHttpNonBlockingFailed, kHttpRefused (a local address, or TLS that does
    // not check out), kHttpOverTime, kHttpFailed (stopped).
    int Open(const HttpTarget& target, bool post, bool mayReachLocal = true);

    // Waits up to the idle time-out for the next chunk and reads at most
    // `capacity` bytes of it. Returns the byte count, 0 when the server has
    // closed, or kHttpTimedOut, kHttpOverTime, kHttpReceiveFailed,
    // kHttpFailed (stopped).
    long Receive(char* buffer, std::size_t capacity);

  private:
    int Connect(const HttpTarget& target, bool mayReachLocal);
    int ConnectTls(const HttpTarget& target, bool mayReachLocal);
    int SendAll(std::string_view text);
    // send() and recv() on the socket or through TLS: a byte count, or -1
    // with errno set (EAGAIN when nothing can move yet).
    long SendSome(std::string_view text);
    long ReceiveSome(char* buffer, std::size_t capacity);
    // Waits for `events` on the socket: kHttpOk when ready, kHttpTimedOut
    // once `idleDeadline` has passed (none: no limit), kHttpOverTime at the
    // exchange's deadline, kHttpFailed when stopped.
    int Wait(short events, std::optional<TimePoint> idleDeadline);
    void Close();

    const HttpOptions& options_;
    std::optional<TimePoint> deadline_;
    int fd_ = -1;
    // The TLS connection, which owns fd_ when set.
    void* tls_ = nullptr;
};

}  // namespace korvana
