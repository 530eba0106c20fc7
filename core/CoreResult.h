#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/CoreTags.h"

namespace korvana {

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
    CoreTags tags;
    std::string comment;
    std::uint8_t done = 0;
    bool fromCore = true;
    std::int32_t searchId = kUnbound;
};

}  // namespace korvana
