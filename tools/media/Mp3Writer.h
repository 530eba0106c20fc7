#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace korvana::mp3gen {

// The 128-byte tag at the end of many MP3 files. Longer texts are cut to
// their fields' sizes (30 bytes, the year 4).
struct Id3v1Tag {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    std::uint8_t genre = 255;  // 255: none
};

// What the audio of the frames carries: digital silence, or a quiet
// deterministic noise (for checks that the decoded samples reach the output).
enum class Content { Silence, Noise };

// An MPEG-1 Layer III stream of whole frames (1152 samples each), built
// without an encoder: every frame has a correct header, side information
// without a bit reservoir, and main data that is either empty (silence) or
// a short run of low-frequency coefficients coded with the fixed
// four-bit quadruple table (noise).
struct Mp3Spec {
    std::int64_t durationMs = 1000;  // rounded up to whole frames
    int bitrateKbps = 128;           // 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, ..., 320
    int sampleRate = 44100;          // 32000, 44100 or 48000
    bool stereo = true;
    Content content = Content::Silence;
    std::uint32_t seed = 1;  // for the noise
    std::optional<Id3v1Tag> tag;
};

inline constexpr int kSamplesPerFrame = 1152;

// The number of frames that covers the duration.
std::int64_t FrameCount(const Mp3Spec& spec);
// The exact duration of those frames, in milliseconds (truncated).
std::int64_t StreamDurationMs(const Mp3Spec& spec);
// False when the bitrate or sample rate is not one of MPEG-1's.
bool IsValid(const Mp3Spec& spec);
// The highest MPEG-1 Layer III bitrate that does not exceed `kbps` (32 for
// anything lower).
int Mpeg1BitrateAtMost(int kbps);
// The size of the file MakeMp3 builds, without building it; 0 when the
// Mp3Spec is not valid.
std::int64_t FileSize(const Mp3Spec& spec);

// The bytes of the file; empty when the Mp3Spec is not valid.
std::string MakeMp3(const Mp3Spec& spec);
// Writes the file; false when the Mp3Spec is not valid or writing fails.
bool WriteMp3(const std::filesystem::path& file, const Mp3Spec& spec);

}  // namespace korvana::mp3gen
