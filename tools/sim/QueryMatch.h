#pragma once

#include <cstdint>

#include "tools/sim/Catalogue.h"
#include "tools/sim/GuiRequests.h"

namespace korvana::sim {

// Whether a catalogue song answers a search query. Keywords must all appear
// in the song's name or album, artist, title and album terms are substrings,
// all ignoring letter case; sizes are megabytes (1048576 bytes) and bit
// rates are minimum kbit/s; a size or bit rate without digits does not
// restrict. `size` is the song's file size in bytes.
bool QueryMatches(const QueryNode& query, const CatalogueEntry& entry, std::uint64_t size);

// A real core treats an AND with fewer than two sub-queries as an empty
// query and answers nothing.
bool QueryIsEmpty(const QueryNode& query);

}  // namespace korvana::sim
