#pragma once

#include <cstdint>
#include <string>

#include "tools/sim/Catalogue.h"
#include "tools/sim/CoreMessages.h"

namespace korvana::sim {

// The bytes of a catalogue song as a finished download writes them. Every
// place that needs a song's content or size goes through these two, so the
// generated content can be replaced by recorded files without touching the
// rest of the core. Today: a playable MP3 of silence (MPEG-1 layer III
// frames at the entry's bit rate, as long as the entry says) with an ID3v1
// tag naming the song.
std::uint64_t SongFileSize(const CatalogueEntry& entry);
std::string SongFileBytes(const CatalogueEntry& entry);

// The song's identity on the simulated networks: the same song always has
// the same hash.
Hash SongHash(const CatalogueEntry& entry);

}  // namespace korvana::sim
