#include "tools/sim/web/SimWebCatalogue.h"

#include <cctype>
#include <cstring>

#include "util/AsciiCase.h"
#include "util/PercentText.h"

namespace korvana::sim {
namespace {

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no padding: 417-byte frames.
constexpr unsigned char kFrameHeader[4] = {0xFF, 0xFB, 0x90, 0x64};
constexpr std::uint64_t kFrameSize = 417;

}  // namespace

std::vector<SimTrack> DefaultWebCatalogue() {
    return {
        {"The Loopbacks", "Localhost Blues", "The Loopbacks - Localhost Blues.mp3", 41700},
        {"The Loopbacks", "Port Forty One Hundred", "The Loopbacks - Port Forty One Hundred.mp3",
         50040},
        {"The Loopbacks", "Connection Refused", "The Loopbacks - Connection Refused.mp3", 33360},
        {"Null Route", "Packet Loss", "Null Route - Packet Loss.wma", 25020},
        {"Null Route", "Time To Live", "Null Route - Time To Live.mp3", 29190},
        {"Mira Kestrel", "Paper Lanterns", "Mira Kestrel - Paper Lanterns.mp3", 45870},
        {"Mira Kestrel", "Blue Hour", "Mira Kestrel - Blue Hour.mp3", 37530},
        {"Mira Kestrel", "Northern Rain", "Mira Kestrel - Northern Rain.mp3", 20850},
        {"Quiet Engines", "Blue Hour Reprise", "Quiet Engines - Blue Hour Reprise.mp3", 16680},
        {"Quiet Engines", "Idle Loop", "Quiet Engines - Idle Loop.mp3", 12510},
        {"Quiet Engines", "Handshake", "Quiet Engines - Handshake.mp3", 58380},
        {"Static Garden", "Loopback Lullaby", "Static Garden - Loopback Lullaby.mp3", 62550},
    };
}

void FillMp3Bytes(std::uint64_t offset, char* out, std::size_t count) {
    std::memset(out, 0, count);
    const std::uint64_t end = offset + count;
    for (std::uint64_t frame = offset - offset % kFrameSize; frame < end; frame += kFrameSize) {
        for (std::uint64_t k = 0; k < sizeof kFrameHeader; ++k) {
            if (frame + k >= offset && frame + k < end) {
                out[frame + k - offset] = static_cast<char>(kFrameHeader[k]);
            }
        }
    }
}

bool Matches(const SimTrack& track, std::string_view term, MatchField field) {
    std::string text;
    switch (field) {
        case MatchField::Artist:
            text = track.artist;
            break;
        case MatchField::Title:
            text = track.title;
            break;
        case MatchField::ArtistAndTitle:
            text = track.artist + " - " + track.title;
            break;
    }
    return AsciiLowered(text).find(AsciiLowered(term)) != std::string::npos;
}

std::string PercentEncodePath(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string QueryValue(std::string_view query, std::string_view key) {
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (pair.substr(0, eq) == key) {
            return eq == std::string_view::npos
                       ? std::string()
                       : *PercentDecoded(pair.substr(eq + 1), {.plusIsSpace = true});
        }
        if (amp == std::string_view::npos) {
            break;
        }
        query.remove_prefix(amp + 1);
    }
    return {};
}

}  // namespace korvana::sim
