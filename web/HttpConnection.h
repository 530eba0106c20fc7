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

    // Every wait of this exchange ends at `deadline` with OverTime.
    void SetDeadline(TimePoint deadline) { deadline_ = deadline; }

    // Sends BuildRequest(target, method). With `mayReachLocal` false a local
    // address (IsLocalAddress) is refused before connecting. Returns Ok or
    // NoHost, NoSocket, ConnectFailed, SendFailed, NonBlockingFailed, Refused
    // (a local address, or TLS that does not check out), OverTime, Failed
    // (stopped).
    HttpResult Open(const HttpTarget& target, HttpMethod method, bool mayReachLocal = true);

    // Waits up to the idle time-out for the next chunk and reads at most
    // `capacity` bytes of it into `buffer`, their count into `received`.
    // Ok with 0 bytes: the server has closed. Otherwise TimedOut, OverTime,
    // ReceiveFailed, Failed (stopped), with 0 bytes.
    HttpResult Receive(char* buffer, std::size_t capacity, std::size_t& received);

  private:
    HttpResult Connect(const HttpTarget& target, bool mayReachLocal);
    HttpResult ConnectTls(const HttpTarget& target, bool mayReachLocal);
    HttpResult SendAll(std::string_view text);
    // send() and recv() on the socket or through TLS: a byte count, or -1
    // with errno set (EAGAIN when nothing can move yet).
    long SendSome(std::string_view text);
    long ReceiveSome(char* buffer, std::size_t capacity);
    // Waits for `events` on the socket: Ok when ready, TimedOut once
    // `idleDeadline` has passed (none: no limit), OverTime at the exchange's
    // deadline, Failed when stopped.
    HttpResult Wait(short events, std::optional<TimePoint> idleDeadline);
    void Close();

    const HttpOptions& options_;
    std::optional<TimePoint> deadline_;
    int fd_ = -1;
    // The TLS connection, which owns fd_ when set.
    void* tls_ = nullptr;
};

}  // namespace korvana
