#include "tools/media/Mp3Writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>

namespace korvana::mp3gen {

namespace {

constexpr std::array<int, 15> kBitrates = {0,   32,  40,  48,  56,  64,  80, 96,
                                           112, 128, 160, 192, 224, 256, 320};
constexpr std::array<int, 3> kSampleRates = {44100, 48000, 32000};
constexpr std::int64_t kTagBytes = 128;

// Quiet enough to stay far from clipping, loud enough to be far from zero
// after 16-bit rounding.
constexpr int kNoiseGlobalGain = 180;
constexpr int kMaxQuadruples = 64;

int BitrateIndex(int kbps) {
    const auto found = std::find(kBitrates.begin() + 1, kBitrates.end(), kbps);
    return found == kBitrates.end() ? -1 : static_cast<int>(found - kBitrates.begin());
}

int SampleRateIndex(int rate) {
    const auto found = std::find(kSampleRates.begin(), kSampleRates.end(), rate);
    return found == kSampleRates.end() ? -1 : static_cast<int>(found - kSampleRates.begin());
}

// Writes bits most significant first into a zeroed byte range.
class BitWriter {
  public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}
    void Put(std::uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if ((value >> i) & 1u) {
                out_[position_ / 8] |= static_cast<std::uint8_t>(0x80u >> (position_ % 8));
            }
            ++position_;
        }
    }

  private:
    std::uint8_t* out_;
    std::size_t position_ = 0;
};

// A small linear congruential generator: the same seed gives the same file.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 16;
    }

  private:
    std::uint32_t state_;
};

// One granule of one channel in the count1 region: four-bit codes (the
// complement of the four magnitude bits) followed by a sign bit for every
// non-zero value. Returns the number of bits written.
int WriteQuadruples(BitWriter& bits, Noise& noise, int quadruples) {
    int written = 0;
    for (int q = 0; q < quadruples; ++q) {
        const std::uint32_t magnitudes = noise.Next() & 0xFu;
        bits.Put(~magnitudes & 0xFu, 4);
        written += 4;
        for (int bit = 3; bit >= 0; --bit) {
            if ((magnitudes >> bit) & 1u) {
                bits.Put(noise.Next() & 1u, 1);
                ++written;
            }
        }
    }
    return written;
}

struct Granule {
    int part23Length = 0;
    int globalGain = 0;
    int count1Table = 0;
};

// Side information without a bit reservoir, scale factors or big values:
// only the count1 region, if anything, carries audio.
void WriteSideInfo(std::uint8_t* out, bool stereo, const std::vector<Granule>& granules) {
    BitWriter bits(out);
    const int channels = stereo ? 2 : 1;
    bits.Put(0, 9);               // main_data_begin
    bits.Put(0, stereo ? 3 : 5);  // private bits
    bits.Put(0, 4 * channels);    // scfsi
    for (const Granule& g : granules) {
        bits.Put(static_cast<std::uint32_t>(g.part23Length), 12);
        bits.Put(0, 9);  // big_values
        bits.Put(static_cast<std::uint32_t>(g.globalGain), 8);
        bits.Put(0, 4);   // scalefac_compress: no scale factor bits
        bits.Put(0, 1);   // no window switching
        bits.Put(0, 22);  // table_select x3, region0_count, region1_count
        bits.Put(0, 2);   // preflag, scalefac_scale
        bits.Put(static_cast<std::uint32_t>(g.count1Table), 1);
    }
}

void WriteFrame(std::uint8_t* frame, std::size_t size, int headerByte2, const Mp3Spec& spec,
                Noise& noise) {
    const bool stereo = spec.stereo;
    frame[0] = 0xFF;
    frame[1] = 0xFB;  // MPEG-1, Layer III, no CRC
    frame[2] = static_cast<std::uint8_t>(headerByte2);
    frame[3] = stereo ? 0x00 : 0xC0;
    const std::size_t sideInfoBytes = stereo ? 32 : 17;
    std::vector<Granule> granules(stereo ? 4 : 2);
    if (spec.content == Content::Noise) {
        std::uint8_t* mainData = frame + 4 + sideInfoBytes;
        const std::size_t mainBits = (size - 4 - sideInfoBytes) * 8;
        const int perGranule = static_cast<int>(mainBits / granules.size() / 8);
        const int quadruples = std::min(kMaxQuadruples, perGranule);
        BitWriter bits(mainData);
        for (Granule& g : granules) {
            g.part23Length = WriteQuadruples(bits, noise, quadruples);
            g.globalGain = kNoiseGlobalGain;
            g.count1Table = 1;
        }
    }
    WriteSideInfo(frame + 4, stereo, granules);
}

void AppendField(std::string& out, const std::string& text, std::size_t width) {
    const std::string field = text.substr(0, width);
    out += field;
    out.append(width - field.size(), '\0');
}

std::string TagBytes(const Id3v1Tag& tag) {
    std::string out = "TAG";
    AppendField(out, tag.title, 30);
    AppendField(out, tag.artist, 30);
    AppendField(out, tag.album, 30);
    AppendField(out, tag.year, 4);
    AppendField(out, tag.comment, 30);
    out.push_back(static_cast<char>(tag.genre));
    return out;
}

}  // namespace

bool IsValid(const Mp3Spec& spec) {
    return BitrateIndex(spec.bitrateKbps) > 0 && SampleRateIndex(spec.sampleRate) >= 0 &&
           spec.durationMs >= 0;
}

std::int64_t FrameCount(const Mp3Spec& spec) {
    const std::int64_t samples = (spec.durationMs * spec.sampleRate + 999) / 1000;
    return (samples + kSamplesPerFrame - 1) / kSamplesPerFrame;
}

std::int64_t StreamDurationMs(const Mp3Spec& spec) {
    return FrameCount(spec) * kSamplesPerFrame * 1000 / spec.sampleRate;
}

int Mpeg1BitrateAtMost(int kbps) {
    int best = kBitrates[1];
    for (const int rate : kBitrates) {
        if (rate <= kbps) {
            best = std::max(best, rate);
        }
    }
    return best;
}

std::int64_t FileSize(const Mp3Spec& spec) {
    if (!IsValid(spec)) {
        return 0;
    }
    // After n frames MakeMp3 has added floor(n * remainder / rate) padding
    // bytes.
    const std::int64_t numerator = 144000LL * spec.bitrateKbps;
    const std::int64_t frames = FrameCount(spec);
    return frames * (numerator / spec.sampleRate) +
           frames * (numerator % spec.sampleRate) / spec.sampleRate + (spec.tag ? kTagBytes : 0);
}

std::string MakeMp3(const Mp3Spec& spec) {
    if (!IsValid(spec)) {
        return {};
    }
    const int headerBase = BitrateIndex(spec.bitrateKbps) << 4 | SampleRateIndex(spec.sampleRate)
                                                                     << 2;
    // A frame holds 144 * bitrate / rate bytes; the fraction is carried by
    // padding bytes so that the average rate is exact.
    const int numerator = 144000 * spec.bitrateKbps;
    const std::size_t baseSize = static_cast<std::size_t>(numerator / spec.sampleRate);
    const int remainder = numerator % spec.sampleRate;
    std::string out;
    Noise noise(spec.seed);
    int carried = 0;
    const std::int64_t frames = FrameCount(spec);
    for (std::int64_t i = 0; i < frames; ++i) {
        carried += remainder;
        const bool padded = carried >= spec.sampleRate;
        if (padded) {
            carried -= spec.sampleRate;
        }
        const std::size_t size = baseSize + (padded ? 1 : 0);
        const std::size_t start = out.size();
        out.resize(start + size, '\0');
        WriteFrame(reinterpret_cast<std::uint8_t*>(out.data() + start), size,
                   headerBase | (padded ? 0x02 : 0x00), spec, noise);
    }
    if (spec.tag) {
        out += TagBytes(*spec.tag);
    }
    return out;
}

bool WriteMp3(const std::filesystem::path& file, const Mp3Spec& spec) {
    if (!IsValid(spec)) {
        return false;
    }
    const std::string bytes = MakeMp3(spec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace korvana::mp3gen
