#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/GuiMessage.h"

namespace korvana {

// Cuts the byte stream from the core into frame bodies (opcode first). Bytes
// are appended as they arrive, in pieces of any size. A frame whose length
// exceeds `maxBody` is skipped whole, however it is split, so the frame
// after it is read in step; a frame of length 0 yields nothing. A length
// beyond `brokenLength` is no frame any core sends: skipping it would
// swallow everything that follows, so the stream counts as broken and
// yields nothing more until Clear.
class FrameReader {
  public:
    static constexpr std::size_t kBrokenLength = 4 << 20;

    explicit FrameReader(std::size_t maxBody = GuiMessage::kMaxPayload,
                         std::size_t brokenLength = kBrokenLength)
        : maxBody_(maxBody), brokenLength_(std::max(maxBody, brokenLength)) {}

    void Append(std::string_view bytes);
    void Append(const std::uint8_t* bytes, std::size_t n) {
        Append(std::string_view(reinterpret_cast<const char*>(bytes), n));
    }

    // The next complete frame body, if one has arrived.
    std::optional<std::string> Next();

    // True while a frame has begun but not ended (also while skipping one).
    bool InFrame() const;
    // A length beyond the broken-stream limit arrived; the connection is
    // out of step and has to be dropped.
    bool Broken() const { return broken_; }
    // The length that broke the stream.
    std::uint32_t BrokenLength() const { return brokenAt_; }
    // Forgets everything, for a new connection.
    void Clear();

  private:
    void Compact();

    std::size_t maxBody_;
    std::size_t brokenLength_;
    bool broken_ = false;
    std::uint32_t brokenAt_ = 0;
    std::string buffer_;
    std::size_t start_ = 0;
    // Bytes of an oversized frame still to be thrown away.
    std::uint64_t skipping_ = 0;
};

}  // namespace korvana
