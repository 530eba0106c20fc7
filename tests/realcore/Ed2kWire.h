#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvana::realcore {

// The eDonkey wire format as the loopback fakes speak it: little-endian
// numbers, packets of a protocol byte, a 32-bit length (opcode included),
// the opcode and its payload.

inline constexpr char kEd2kProtocol = '\xe3';
// Longer packets are taken for a broken stream: no message of the fakes'
// conversations comes near this.
inline constexpr std::size_t kMaxEd2kPacket = 1024 * 1024;

inline void Put32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

inline void Put16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xff));
    out.push_back(static_cast<char>(value >> 8));
}

inline std::uint32_t Get32(const std::string& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

inline std::string Ed2kPacket(std::uint8_t opcode, const std::string& payload) {
    std::string packet(1, kEd2kProtocol);
    Put32(packet, static_cast<std::uint32_t>(payload.size() + 1));
    packet.push_back(static_cast<char>(opcode));
    return packet + payload;
}

// A tag in the classic form: type, a one-byte name, the value.
inline void PutStringTag(std::string& out, std::uint8_t name, const std::string& value) {
    out.push_back('\x02');
    Put16(out, 1);
    out.push_back(static_cast<char>(name));
    Put16(out, static_cast<std::uint16_t>(value.size()));
    out += value;
}

inline void PutIntegerTag(std::string& out, std::uint8_t name, std::uint32_t value) {
    out.push_back('\x03');
    Put16(out, 1);
    out.push_back(static_cast<char>(name));
    Put32(out, value);
}

struct Ed2kMessage {
    char protocol = kEd2kProtocol;
    std::uint8_t opcode = 0;
    std::string payload;
};

// Takes the first whole packet off `buffer`. Empty while the packet is
// still incomplete; `broken` is set for a length no packet has.
inline std::optional<Ed2kMessage> TakeEd2kMessage(std::string& buffer, bool& broken) {
    if (buffer.size() < 6) {
        return std::nullopt;
    }
    const std::uint32_t length = Get32(buffer, 1);
    broken = length == 0 || length > kMaxEd2kPacket;
    if (broken || buffer.size() < 5 + std::size_t{length}) {
        return std::nullopt;
    }
    Ed2kMessage message{buffer[0], static_cast<std::uint8_t>(buffer[5]),
                        buffer.substr(6, length - 1)};
    buffer.erase(0, 5 + std::size_t{length});
    return message;
}

}  // namespace korvana::realcore
