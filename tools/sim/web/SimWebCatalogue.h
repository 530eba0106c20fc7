#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvana::sim {

// One file that the simulated engines list and serve.
struct SimTrack {
    std::string artist;
    std::string title;
    // The name under "/files/"; its extension is what the engines see.
    std::string fileName;
    std::uint64_t size = 0;
};

// A small catalogue of made-up tracks, one of them a ".wma".
std::vector<SimTrack> DefaultWebCatalogue();

// The bytes of every generated file from `offset` on: silent MPEG-1 Layer III
// frames (128 kbit/s, 44.1 kHz), so players accept them.
void FillMp3Bytes(std::uint64_t offset, char* out, std::size_t count);

// Which field a search looks at.
enum class MatchField { ArtistAndTitle, Artist, Title };

// Case-insensitive containment of `term` in the field; an empty term matches
// everything.
bool Matches(const SimTrack& track, std::string_view term, MatchField field);

// Percent-encoding of a file name for a URL path: letters, digits and
// "-._~" stay, every other byte becomes %XX.
std::string PercentEncodePath(std::string_view text);

// The decoded value of `key` in a query string ("a=1&b=2"); empty when absent.
std::string QueryValue(std::string_view query, std::string_view key);

}  // namespace korvana::sim
