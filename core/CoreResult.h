#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/CoreTags.h"

namespace korvana {

// One search result as the core describes it in a result message. The core
// link's pool keeps only part of it (see PooledResult).
struct CoreResult {
    static constexpr std::size_t kMaxName = 511;
    static constexpr std::size_t kMaxFormat = 63;
    static constexpr std::size_t kMaxType = 63;
    static constexpr std::size_t kMaxComment = 255;

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
};

// What the program keeps of a core result: what the result list shows, what
// its filter matches and what a download request sends back. The rest of the
// core's description (hash, format, type, comment, the other tags) is read
// and dropped, since
// every result stays for the life of the process and a flood brings a
// million of them. Fixed once kept.
struct PooledResult {
    std::int32_t resultId = 0;
    std::int32_t networkNumber = 0;
    std::int64_t size = 0;
    // The "availability" tag (1 when absent) and the "bitrate" tag (0 when
    // absent); the newest tag of that name in any letter case counts.
    std::int32_t sources = 1;
    std::int32_t bitrate = 0;
    // Lives as long as the record (in the pool's text store).
    std::string_view name;
    // The length of the artist, title and album tags kept right after the
    // name in the text store (see Tags); a count rather than a second view
    // keeps the record at 48 bytes.
    std::uint16_t tagsLength = 0;

    // The "artist", "title" and "album" text tags the result carries, in
    // that order, a newline between those present; empty without any.
    std::string_view Tags() const { return {name.data() + name.size(), tagsLength}; }
};

// The longest text JoinTags makes: three tags at their longest and two
// newlines.
inline constexpr std::size_t kMaxJoinedTags = 3 * CoreTag::kMaxText + 2;
static_assert(kMaxJoinedTags <= UINT16_MAX);

// Appends an artist, a title and an album to `into` as Tags() holds them:
// the non-empty ones, each cut to CoreTag::kMaxText bytes, newline between.
// A newline or other control byte inside a tag becomes a space, so that a
// typed word never matches across two tags.
void JoinTags(std::string& into, std::string_view artist, std::string_view title,
              std::string_view album);

}  // namespace korvana
