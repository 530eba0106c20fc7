#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvana::sim {

// Cuts the byte stream from the front end into frame bodies (opcode and
// payload, without the four length bytes). A frame longer than kMaxBody can
// only come from a broken peer: the reader reports it and the connection is
// dropped, so its memory stays bounded.
class FrameReader {
  public:
    static constexpr std::size_t kMaxBody = 1 << 20;

    enum class Status { kFrame, kNeedMore, kTooLong };

    void Append(const std::uint8_t* bytes, std::size_t n);
    // On kFrame, `body` holds the next frame body.
    Status Next(std::vector<std::uint8_t>& body);
    std::size_t Buffered() const { return buffer_.size() - start_; }

  private:
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
};

}  // namespace korvana::sim
