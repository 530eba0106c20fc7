#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

#include "tools/sim/web/SimWebRouter.h"

namespace korvana::sim {

// Reading one request from and writing one answer to a non-blocking
// connection, with every wait cut short when `wakeFd` becomes readable (the
// server is stopping).
class SimHttpIo {
  public:
    SimHttpIo(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}

    // Reads the request line, header and a body of the announced length
    // (64 KiB at most each). False on a malformed or oversized request, a
    // closed connection, or 10 s without data.
    bool ReadRequest(SimRequest& request);

    // Sends the head, then (unless `headOnly`) the body and the generated
    // bytes, honouring the trickle and stall faults.
    void SendReply(const SimReply& reply, bool headOnly, const SimWebFaults& faults);

    // Makes the connection's close a reset instead of an orderly end.
    void Reset();

    // Waits `delay` unless the server stops first; false when it stops.
    bool Pause(std::chrono::milliseconds delay) const;

  private:
    bool Send(std::string_view bytes, const SimWebFaults& faults);
    bool SendAll(std::string_view bytes);
    // Holds a stalled connection open until the client leaves or the server
    // stops.
    void Hold();
    // Waits for `events` on the connection: true when ready, false on a stop
    // or after `timeout`.
    bool Wait(short events, std::chrono::milliseconds timeout) const;

    int fd_;
    int wakeFd_;
    std::size_t sent_ = 0;
};

}  // namespace korvana::sim
