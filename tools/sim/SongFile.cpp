#include "tools/sim/SongFile.h"

#include <algorithm>
#include <array>

namespace korvana::sim {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kSamplesPerFrame = 1152;
constexpr std::size_t kId3Size = 128;
// MPEG-1 layer III bit rates by header index.
constexpr std::array kBitrateTable = {0,   32,  40,  48,  56,  64,  80, 96,
                                      112, 128, 160, 192, 224, 256, 320};

// The highest table index whose rate does not exceed the entry's.
int BitrateIndex(int kbps) {
    int index = 1;
    for (int i = 1; i < static_cast<int>(kBitrateTable.size()); ++i) {
        if (kBitrateTable[static_cast<std::size_t>(i)] <= kbps) {
            index = i;
        }
    }
    return index;
}

std::size_t FrameLength(int index) {
    return static_cast<std::size_t>(144000 * kBitrateTable[static_cast<std::size_t>(index)] /
                                    kSampleRate);
}

std::uint64_t FrameCount(const CatalogueEntry& entry) {
    const std::uint64_t samples =
        static_cast<std::uint64_t>(std::max(entry.seconds, 1)) * kSampleRate;
    return (samples + kSamplesPerFrame - 1) / kSamplesPerFrame;
}

void AppendField(std::string& out, const std::string& text, std::size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

std::string Id3v1Tag(const CatalogueEntry& entry) {
    std::string tag = "TAG";
    AppendField(tag, entry.title, 30);
    AppendField(tag, entry.artist, 30);
    AppendField(tag, entry.album, 30);
    AppendField(tag, entry.year, 4);
    AppendField(tag, "korvana-sim", 30);
    tag += static_cast<char>(12);  // genre: Other
    return tag;
}

}  // namespace

std::uint64_t SongFileSize(const CatalogueEntry& entry) {
    return FrameCount(entry) * FrameLength(BitrateIndex(entry.bitrate)) + kId3Size;
}

std::string SongFileBytes(const CatalogueEntry& entry) {
    const int index = BitrateIndex(entry.bitrate);
    // Sync, MPEG-1, layer III, no CRC; the rate index, 44.1 kHz, no padding;
    // mono. An all-zero side information and main data decode as silence.
    std::string frame(FrameLength(index), '\0');
    frame[0] = static_cast<char>(0xFF);
    frame[1] = static_cast<char>(0xFB);
    frame[2] = static_cast<char>(index << 4);
    frame[3] = static_cast<char>(0xC0);
    const std::uint64_t frames = FrameCount(entry);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(frames) * frame.size() + kId3Size);
    for (std::uint64_t i = 0; i < frames; ++i) {
        bytes += frame;
    }
    bytes += Id3v1Tag(entry);
    return bytes;
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
