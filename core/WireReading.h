#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/GuiMessage.h"
#include "core/TextLimit.h"

// Small reading steps shared by the inbound decoders.
namespace korvana::wire {

inline std::int32_t GetInt32(GuiMessage& message) {
    return static_cast<std::int32_t>(message.Get32());
}

inline std::int64_t GetInt64(GuiMessage& message) {
    return static_cast<std::int64_t>(message.Get64());
}

inline bool GetFlag(GuiMessage& message) {
    return message.Get8() == 1;
}

// A string cut to `maxBytes`; absent when its count runs past the end.
inline std::optional<std::string> GetText(GuiMessage& message, std::size_t maxBytes) {
    std::optional<std::string> text = message.GetString();
    if (text) {
        *text = TruncateText(std::move(*text), maxBytes);
    }
    return text;
}

// Reads and drops one string; false when it was absent.
inline bool SkipString(GuiMessage& message) {
    return message.GetString().has_value();
}

// 16 raw bytes; past the end the missing bytes are zero.
inline std::array<std::uint8_t, 16> GetHash(GuiMessage& message) {
    std::array<std::uint8_t, 16> hash{};
    for (auto& byte : hash) {
        byte = message.Get8();
    }
    return hash;
}

// A list's count, and whether its next entry is really there: entries are
// never invented beyond the end of the payload.
class ListReader {
  public:
    explicit ListReader(GuiMessage& message) : message_(message), count_(message.Get16()) {}
    bool Next() {
        if (read_ >= count_ || message_.Remaining() == 0) {
            return false;
        }
        ++read_;
        return true;
    }

  private:
    GuiMessage& message_;
    std::size_t count_;
    std::size_t read_ = 0;
};

}  // namespace korvana::wire
