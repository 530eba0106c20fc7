#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

// One tag of a core result, such as "availability" or "bitrate". Text tags
// (type 2) carry `text`; every other type carries `intValue`.
struct CoreTag {
    static constexpr std::size_t kMaxName = 127;
    static constexpr std::size_t kMaxText = 127;
    static constexpr std::uint8_t kTextType = 2;

    std::string name;
    std::uint8_t type = 0;
    std::int32_t intValue = 0;
    std::string text;
};

// One search result reported by the core. Records stay in the core link's
// result pool for the life of the process and are handed to the search
// model once a search-result message binds them to a search.
struct CoreResult {
    static constexpr std::size_t kMaxName = 511;
    static constexpr std::size_t kMaxFormat = 63;
    static constexpr std::size_t kMaxType = 63;
    static constexpr std::size_t kMaxComment = 255;
    // The search id of a result that no search-result message has bound yet.
    static constexpr std::int32_t kUnbound = -1;

    std::int32_t resultId = 0;
    std::int32_t networkNumber = 0;
    std::string name;
    std::array<std::uint8_t, 16> hash{};
    std::int64_t size = 0;
    std::string format;
    std::string type;
    // Newest first: the reverse of their order in the message.
    std::vector<CoreTag> tags;
    std::string comment;
    std::uint8_t done = 0;
    bool fromCore = true;
    std::int32_t searchId = kUnbound;
};

}  // namespace korvana
