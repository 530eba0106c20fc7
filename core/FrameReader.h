#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/GuiMessage.h"

namespace korvana {

// Cuts the byte stream from the core into frame bodies (opcode first). Bytes
// are appended as they arrive, in pieces of any size. A frame whose length
// exceeds the limit is skipped whole, however it is split, so the frame
// after it is read in step; a frame of length 0 yields nothing.
class FrameReader {
  public:
    explicit FrameReader(std::size_t maxBody = GuiMessage::kMaxPayload) : maxBody_(maxBody) {}

    void Append(std::string_view bytes);
    void Append(const std::uint8_t* bytes, std::size_t n) {
        Append(std::string_view(reinterpret_cast<const char*>(bytes), n));
    }

    // The next complete frame body, if one has arrived.
    std::optional<std::string> Next();

    // True while a frame has begun but not ended (also while skipping one).
    bool InFrame() const;
    // Forgets everything, for a new connection.
    void Clear();

  private:
    void Compact();

    std::size_t maxBody_;
    std::string buffer_;
    std::size_t start_ = 0;
    // Bytes of an oversized frame still to be thrown away.
    std::uint64_t skipping_ = 0;
};

}  // namespace korvana
