#pragma once

// Inbound messages as a core lays them out, for tests that feed the front
// end's decoders and dispatcher.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/GuiMessage.h"
#include "util/HexDigit.h"

namespace korvana::test {

// The frame body (opcode first) that Dispatch takes.
inline std::string BodyOf(const GuiMessage& message) {
    const std::vector<std::uint8_t> frame = message.ToFrame();
    return std::string(frame.begin() + 4, frame.end());
}

inline std::string FrameOf(const GuiMessage& message) {
    const std::vector<std::uint8_t> frame = message.ToFrame();
    return std::string(frame.begin(), frame.end());
}

// Bytes written as hex digits, blanks ignored: "07 00 00 00".
inline std::string FromHex(const std::string& hex) {
    std::string bytes;
    int high = -1;
    for (char c : hex) {
        const int digit = HexValue(c);
        if (digit < 0) {
            continue;
        }
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<char>(high * 16 + digit));
            high = -1;
        }
    }
    return bytes;
}

inline GuiMessage Hello(std::int32_t protocol) {
    GuiMessage m(0);
    m.Put32(static_cast<std::uint32_t>(protocol));
    m.Put32(59);
    m.Put32(68);
    return m;
}

inline GuiMessage Options(const std::vector<std::pair<std::string, std::string>>& pairs) {
    GuiMessage m(1);
    m.Put16(static_cast<std::uint16_t>(pairs.size()));
    for (const auto& [name, value] : pairs) {
        m.PutString(name);
        m.PutString(value);
    }
    return m;
}

struct TestTag {
    std::string name;
    std::uint8_t type;
    std::int32_t number;
    std::string text;
};

// A result in the plain layout: 16-byte hash, tags of int32 or text.
inline GuiMessage ClassicResult(std::int32_t id, std::int32_t net, const std::string& name,
                                std::int64_t size, const std::vector<TestTag>& tags = {}) {
    GuiMessage m(4);
    m.Put32(static_cast<std::uint32_t>(id));
    m.Put32(static_cast<std::uint32_t>(net));
    m.Put16(1);
    m.PutString(name);
    const std::uint8_t hash[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    m.PutHash(hash);
    m.Put64(static_cast<std::uint64_t>(size));
    m.PutString("mp3");
    m.PutString("Audio");
    m.Put16(static_cast<std::uint16_t>(tags.size()));
    for (const TestTag& tag : tags) {
        m.PutString(tag.name);
        m.Put8(tag.type);
        if (tag.type == 2) {
            m.PutString(tag.text);
        } else {
            m.Put32(static_cast<std::uint32_t>(tag.number));
        }
    }
    m.PutString("comment");
    m.Put8(1);
    return m;
}

inline GuiMessage SearchResult(std::int32_t searchId, std::int32_t resultId) {
    GuiMessage m(5);
    m.Put32(static_cast<std::uint32_t>(searchId));
    m.Put32(static_cast<std::uint32_t>(resultId));
    return m;
}

inline GuiMessage Network(std::int32_t number, const std::string& name, bool enabled) {
    GuiMessage m(20);
    m.Put32(static_cast<std::uint32_t>(number));
    m.PutString(name);
    m.Put8(enabled ? 1 : 0);
    m.PutString("donkey.ini");
    m.Put64(0);
    m.Put64(0);
    return m;
}

inline GuiMessage ClientStats(const std::vector<std::pair<std::int32_t, std::int32_t>>& servers) {
    GuiMessage m(49);
    m.Put64(1);
    m.Put64(2);
    m.Put64(3);
    for (std::uint32_t v : {4u, 5u, 6u, 7u, 8u, 9u, 10u}) {
        m.Put32(v);
    }
    m.Put16(static_cast<std::uint16_t>(servers.size()));
    for (const auto& [net, count] : servers) {
        m.Put32(static_cast<std::uint32_t>(net));
        m.Put32(static_cast<std::uint32_t>(count));
    }
    return m;
}

// One download-list entry in the order the core writes it.
inline void PutDownloadEntry(GuiMessage& m, std::int32_t number, const std::string& name,
                             std::uint8_t state, std::uint8_t formatKind = 3) {
    m.Put32(static_cast<std::uint32_t>(number));
    m.Put32(1);
    m.Put16(2);
    m.PutString("alias one");
    m.PutString("alias two");
    const std::uint8_t hash[16] = {};
    m.PutHash(hash);
    m.Put64(4000000);
    m.Put64(1000000);
    m.Put32(3);
    m.Put32(1);
    m.Put8(state);
    if (state == 6) {
        m.PutString("disk full");
    }
    m.PutString("chunks");
    m.Put16(1);
    m.Put32(1);
    m.PutString("avail");
    m.PutString("2048.5");
    m.Put16(2);
    m.Put32(10);
    m.Put32(20);
    m.Put32(99);
    m.Put8(formatKind);
    if (formatKind == 3) {
        for (const char* text : {"title", "artist", "album", "2004", "comment"}) {
            m.PutString(text);
        }
        m.Put32(1);
        m.Put32(2);
    }
    m.PutString(name);
    m.Put32(0);
    m.Put32(0);
    m.PutString("");
}

}  // namespace korvana::test
