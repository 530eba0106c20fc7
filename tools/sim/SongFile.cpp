#include "tools/sim/SongFile.h"

#include <algorithm>

#include "tools/media/Mp3Writer.h"

namespace korvana::sim {
namespace {

constexpr std::uint8_t kGenreOther = 12;

// Mono silence at the highest MPEG-1 bit rate within the entry's, as long
// as the entry says, with an ID3v1 tag naming the song.
mp3gen::Mp3Spec SongSpec(const CatalogueEntry& entry) {
    mp3gen::Mp3Spec spec;
    spec.durationMs = static_cast<std::int64_t>(std::max(entry.seconds, 1)) * 1000;
    spec.bitrateKbps = mp3gen::Mpeg1BitrateAtMost(entry.bitrate);
    spec.stereo = false;
    spec.tag = mp3gen::Id3v1Tag{entry.title, entry.artist,  entry.album,
                                entry.year,  "korvana-sim", kGenreOther};
    return spec;
}

}  // namespace

std::uint64_t SongFileSize(const CatalogueEntry& entry) {
    return static_cast<std::uint64_t>(mp3gen::FileSize(SongSpec(entry)));
}

std::string SongFileBytes(const CatalogueEntry& entry) {
    return mp3gen::MakeMp3(SongSpec(entry));
}

Hash SongHash(const CatalogueEntry& entry) {
    // Two differently seeded FNV-1a passes over the song's identity.
    const std::string key = entry.artist + '\n' + entry.title + '\n' + entry.album + '\n' +
                            std::to_string(entry.bitrate) + '\n' + std::to_string(entry.seconds);
    Hash hash{};
    for (std::size_t half = 0; half < 2; ++half) {
        std::uint64_t h = 0xCBF29CE484222325ULL ^ (half * 0x9E3779B97F4A7C15ULL);
        for (unsigned char c : key) {
            h = (h ^ c) * 0x100000001B3ULL;
        }
        for (std::size_t i = 0; i < 8; ++i) {
            hash[half * 8 + i] = static_cast<std::uint8_t>(h >> (8 * i));
        }
    }
    return hash;
}

}  // namespace korvana::sim
