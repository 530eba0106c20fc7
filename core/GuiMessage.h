#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// One message of the core's binary GUI protocol, built for sending or loaded
// for decoding. Integers are little-endian; strings carry a 16-bit byte count.
// Reads past the end yield zero so that a short message decodes with zeros;
// only a string whose count runs past the end is absent.
class GuiMessage {
  public:
    // The largest frame body (opcode + payload) either side may send.
    static constexpr std::size_t kMaxPayload = 20000;
    // The longest text a string field can carry.
    static constexpr std::size_t kMaxString = 65535;

    GuiMessage() = default;
    explicit GuiMessage(int opcode) : opcode_(opcode) {}

    void Reset();
    int GetOpcode() const { return opcode_; }

    // Copies a received frame body (opcode first) in for decoding. Fails and
    // leaves the message empty when it exceeds kMaxPayload.
    bool Load(const std::uint8_t* bytes, std::size_t n);
    bool Load(std::string_view bytes) {
        return Load(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }

    void Put8(std::uint8_t v);
    void Put16(std::uint16_t v);
    void Put32(std::uint32_t v);
    void Put64(std::uint64_t v);
    // Texts longer than kMaxString are cut to it.
    void PutString(std::string_view text);
    void PutHash(const std::uint8_t (&hash)[16]);

    std::uint8_t Get8();
    std::uint16_t Get16();
    std::uint32_t Get32();
    std::uint64_t Get64();
    // Absent when the count runs past the end; zero bytes come out as '0'.
    std::optional<std::string> GetString();
    // A string read as a decimal number; no digits and absent give 0.
    double GetDecimal();
    // Reads `n` raw bytes; returns false (cursor unmoved) if fewer remain.
    bool GetBytes(std::uint8_t* out, std::size_t n);

    std::size_t Cursor() const { return cursor_; }
    std::size_t Length() const { return payload_.size(); }
    std::size_t Remaining() const { return payload_.size() - cursor_; }
    const std::vector<std::uint8_t>& Payload() const { return payload_; }

    // The whole frame: 4-byte length (payload + 2), 2-byte opcode, payload.
    std::vector<std::uint8_t> ToFrame() const;

  private:
    std::uint64_t GetLittleEndian(std::size_t width);
    void PutLittleEndian(std::uint64_t v, std::size_t width);

    int opcode_ = 0;
    std::vector<std::uint8_t> payload_;
    std::size_t cursor_ = 0;
};

}  // namespace korvana
