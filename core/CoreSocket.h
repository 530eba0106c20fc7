#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace korvana {

// The TCP connection to the core: a non-blocking POSIX socket. The owner
// waits for readiness with poll() on Fd(); Send and Receive never block.
class CoreSocket {
  public:
    // Interrupted: the interrupt descriptor became readable while connecting.
    enum class OpenResult {
        Ok,
        AlreadyOpen,
        ResolveFailed,
        SocketFailed,
        ConnectFailed,
        TimedOut,
        Interrupted
    };

    CoreSocket() = default;
    ~CoreSocket();
    CoreSocket(const CoreSocket&) = delete;
    CoreSocket& operator=(const CoreSocket&) = delete;

    // Resolves `host` and connects to its first address that answers, IPv4
    // addresses first, with keep-alive on. The wait for each address ends
    // after `timeout`, or at once when `interruptFd` (if not -1) becomes
    // readable. TimedOut when the last address tried gave no answer in time.
    OpenResult Create(const std::string& host, std::uint16_t port,
                      std::chrono::milliseconds timeout, int interruptFd);
    void Close();
    // Tells the peer that nothing more will be sent, after the bytes already
    // sent; unlike Close, unread bytes from the peer cannot turn this into a
    // reset that makes the peer lose what it has not read yet.
    void ShutdownWrite();
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // Bytes sent (> 0); 0 when the socket takes nothing now; -1 on error.
    std::ptrdiff_t Send(const std::uint8_t* bytes, std::size_t n);
    // Bytes read (> 0); 0 when nothing is waiting; -1 on error or when the
    // peer closed the connection.
    std::ptrdiff_t Receive(std::uint8_t* buffer, std::size_t capacity);

  private:
    int fd_ = -1;
};

}  // namespace korvana
