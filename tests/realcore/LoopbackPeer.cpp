#include "tests/realcore/LoopbackPeer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "tests/realcore/Ed2kWire.h"
#include "tests/support/Md4.h"

namespace korvana::realcore {
namespace {

// Client messages, by opcode.
constexpr std::uint8_t kHello = 0x01;
constexpr std::uint8_t kSendingPart = 0x46;
constexpr std::uint8_t kRequestParts = 0x47;
constexpr std::uint8_t kNoSuchFile = 0x48;
constexpr std::uint8_t kHelloAnswer = 0x4c;
constexpr std::uint8_t kSetRequestedFile = 0x4f;
constexpr std::uint8_t kFileStatus = 0x50;
constexpr std::uint8_t kStartUpload = 0x54;
constexpr std::uint8_t kAcceptUpload = 0x55;
constexpr std::uint8_t kFileNameRequest = 0x58;
constexpr std::uint8_t kFileNameAnswer = 0x59;

// The size of an eDonkey part; a file of one part needs no hash set.
constexpr std::size_t kPartSize = 9'728'000;
// eDonkey clients send a requested range in pieces of this size, and a
// client reads at most about 50 kB at once: a peer that sends faster than it
// reads has its connection closed. One piece every 100 ms leaves the core
// half a second to come back to its socket.
constexpr std::size_t kPieceSize = 10'240;
constexpr auto kPiecePause = std::chrono::milliseconds(100);

std::string Raw(const std::array<std::uint8_t, 16>& digest) {
    return std::string(digest.begin(), digest.end());
}

// A text as eDonkey carries it: its 16-bit length, then its bytes.
std::string Counted(const std::string& text) {
    std::string counted;
    Put16(counted, static_cast<std::uint16_t>(text.size()));
    return counted + text;
}

const std::string kLoopbackAddress("\x7f\0\0\x01", 4);

// A file of a whole part or more would need a hash set, which this peer
// does not offer.
std::string OnePart(std::string content) {
    if (content.size() >= kPartSize) {
        throw std::invalid_argument("a loopback peer's file must be smaller than one part");
    }
    return content;
}

}  // namespace

LoopbackPeer::LoopbackPeer(std::string name, std::string content)
    : name_(std::move(name)),
      content_(OnePart(std::move(content))),
      hash_(Raw(test::Md4(content_))),
      // Any hash but the core's own and the file's names this peer; peers
      // with files of the same name are still two peers.
      ownHash_(Raw(test::Md4("loopback peer " + name_ + hash_))),
      server_([this](int fd) { Serve(fd); }) {}

std::vector<std::string> LoopbackPeer::Received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

// Its hash, address and port, a name and a version tag, and no server.
std::string LoopbackPeer::HelloAnswer() const {
    std::string payload = ownHash_ + kLoopbackAddress;
    Put16(payload, Port());
    Put32(payload, 2);
    PutStringTag(payload, 0x01, "loopback peer");
    PutIntegerTag(payload, 0x11, 60);
    payload += std::string(6, '\0');
    return Ed2kPacket(kHelloAnswer, payload);
}

// Three ranges, first all starts and then all ends (each end exclusive);
// an empty range is no request.
bool LoopbackPeer::SendRanges(int fd, const std::string& payload) {
    if (payload.size() < 16 + 24 || payload.substr(0, 16) != hash_) {
        return SendAll(fd, Ed2kPacket(kNoSuchFile, payload.substr(0, 16)));
    }
    for (std::size_t range = 0; range < 3; ++range) {
        const std::size_t start = Get32(payload, 16 + 4 * range);
        const std::size_t end = std::min<std::size_t>(Get32(payload, 28 + 4 * range), Size());
        for (std::size_t at = start; at < end; at += kPieceSize) {
            const std::size_t stop = std::min(end, at + kPieceSize);
            std::string piece = hash_;
            Put32(piece, static_cast<std::uint32_t>(at));
            Put32(piece, static_cast<std::uint32_t>(stop));
            piece += content_.substr(at, stop - at);
            if (!SendAll(fd, Ed2kPacket(kSendingPart, piece))) {
                return false;
            }
            bytesSent_ += static_cast<std::int64_t>(stop - at);
            std::this_thread::sleep_for(kPiecePause);
        }
    }
    return true;
}

bool LoopbackPeer::Answer(int fd, char protocol, std::uint8_t opcode, const std::string& payload) {
    {
        char text[8];
        std::snprintf(text, sizeof text, "%02x:%02x", static_cast<unsigned char>(protocol), opcode);
        const std::lock_guard lock(mutex_);
        received_.emplace_back(text);
    }
    // Extensions of other clients (other protocol bytes) go unanswered, as
    // a plain eDonkey client would leave them.
    if (protocol != kEd2kProtocol) {
        return true;
    }
    const std::string file = payload.substr(0, 16);
    const bool ours = file == hash_;
    switch (opcode) {
        case kHello:
            return SendAll(fd, HelloAnswer());
        case kFileNameRequest:
            return SendAll(fd, ours ? Ed2kPacket(kFileNameAnswer, file + Counted(name_))
                                    : Ed2kPacket(kNoSuchFile, file));
        case kSetRequestedFile: {
            std::string status = file;
            Put16(status, 0);  // no part count: the whole file is here
            return SendAll(fd,
                           ours ? Ed2kPacket(kFileStatus, status) : Ed2kPacket(kNoSuchFile, file));
        }
        case kStartUpload:
            return SendAll(fd, Ed2kPacket(kAcceptUpload, {}));
        case kRequestParts:
            return SendRanges(fd, payload);
        default:
            return true;
    }
}

void LoopbackPeer::Serve(int fd) {
    ServeEd2kMessages(fd, server_, [&](const Ed2kMessage& message) {
        return Answer(fd, message.protocol, message.opcode, message.payload);
    });
}

}  // namespace korvana::realcore
