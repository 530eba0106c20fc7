#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "web/HttpOptions.h"
#include "web/HttpText.h"

namespace korvana {

// One plain-text HTTP exchange on a TCP socket: resolve the host (first IPv4
// address), connect, send the request text, then receive the raw answer in
// chunks as it arrives. The socket is closed when the object goes away.
// Web downloads and the benchmark read the answer chunk by chunk; SendRequest
// gathers it into one text.
class HttpConnection {
  public:
    explicit HttpConnection(const HttpOptions& options) : options_(options) {}
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // Sends BuildRequest(target, post). Returns kHttpOk or kHttpNoHost,
    // kHttpNoSocket, kHttpConnectFailed, kHttpSendFailed,
    // kHttpNonBlockingFailed, kHttpFailed (stopped).
    int Open(const HttpTarget& target, bool post);

    // Waits up to the idle time-out for the next chunk and reads at most
    // `capacity` bytes of it. Returns the byte count, 0 when the server has
    // closed, or kHttpTimedOut, kHttpReceiveFailed, kHttpFailed (stopped).
    long Receive(char* buffer, std::size_t capacity);

  private:
    int Connect(const HttpTarget& target);
    int SendAll(std::string_view text);
    // Waits for `events` on the socket: kHttpOk when ready, kHttpTimedOut
    // once `deadline` has passed (none: no limit), kHttpFailed when stopped.
    int Wait(short events, std::optional<std::chrono::steady_clock::time_point> deadline);
    void Close();

    const HttpOptions& options_;
    int fd_ = -1;
};

}  // namespace korvana
