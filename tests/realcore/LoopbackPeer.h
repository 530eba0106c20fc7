#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "tests/realcore/LoopbackServers.h"

namespace korvana::realcore {

// An eDonkey peer on 127.0.0.1 that has one file of at most one part (so
// that its hash is the MD4 of its bytes and no hash set is asked for) and
// uploads it to any client that asks: it answers the greeting, the file's
// name and part status, gives a slot at once and sends every range asked
// for.
class LoopbackPeer {
  public:
    LoopbackPeer(std::string name, std::string content);

    std::uint16_t Port() const { return server_.Port(); }
    // The file's eDonkey hash: 16 raw bytes.
    const std::string& Hash() const { return hash_; }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(content_.size()); }
    // Bytes of the file sent so far, over every connection.
    std::int64_t BytesSent() const { return bytesSent_.load(); }
    // The opcodes clients sent, in order, as "e3:58" (protocol:opcode).
    std::vector<std::string> Received() const;

  private:
    void Serve(int fd);
    bool Answer(int fd, char protocol, std::uint8_t opcode, const std::string& payload);
    std::string HelloAnswer() const;
    bool SendRanges(int fd, const std::string& payload);

    const std::string name_;
    const std::string content_;
    const std::string hash_;
    const std::string ownHash_;
    std::atomic<std::int64_t> bytesSent_{0};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
    LoopbackServer server_;
};

}  // namespace korvana::realcore
