#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/media/Mp3Decoder.h"
#include "tools/media/Mp3Writer.h"

namespace korvana::test {
namespace {

using mp3gen::Content;
using mp3gen::Mp3Spec;

struct Decoded {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    std::int64_t samples = 0;  // per channel
    int peak = 0;
};

Decoded Decode(const std::string& bytes) {
    Decoded out;
    Mp3Decoder decoder;
    out.ok = decoder.OpenMemory(bytes);
    out.rate = decoder.Rate();
    out.channels = decoder.Channels();
    std::vector<std::int16_t> pcm(1152 * 2);
    for (bool ended = !out.ok; !ended;) {
        const std::size_t frames = decoder.Read(pcm.data(), 1152, &ended);
        out.samples += static_cast<std::int64_t>(frames);
        for (std::size_t i = 0; i < frames * static_cast<std::size_t>(out.channels); ++i) {
            out.peak = std::max(out.peak, std::abs(int{pcm[i]}));
        }
    }
    return out;
}

TEST(Mp3Writer, FramesHaveMpeg1LayerThreeHeadersAndExactSizes) {
    Mp3Spec spec;
    spec.durationMs = 240;
    spec.sampleRate = 48000;
    spec.bitrateKbps = 128;  // 384-byte frames, no padding
    const std::string bytes = mp3gen::MakeMp3(spec);
    ASSERT_EQ(mp3gen::FrameCount(spec), 10);
    ASSERT_EQ(bytes.size(), 10u * 384);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFB);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0x94);  // 128 kbit/s, 48 kHz
    EXPECT_EQ(static_cast<unsigned char>(bytes[384]), 0xFF);

    // 144 * 128000 / 44100 = 417.959... bytes a frame: 1000 frames carry
    // 959 padding bytes.
    spec.sampleRate = 44100;
    spec.durationMs = 26'122;
    ASSERT_EQ(mp3gen::FrameCount(spec), 1000);
    EXPECT_EQ(mp3gen::MakeMp3(spec).size(), 417'959u);
}

TEST(Mp3Writer, StreamsDecodeToTheirFullLength) {
    for (int rate : {32000, 44100, 48000}) {
        for (bool stereo : {true, false}) {
            for (Content content : {Content::Silence, Content::Noise}) {
                Mp3Spec spec;
                spec.durationMs = 700;
                spec.sampleRate = rate;
                spec.stereo = stereo;
                spec.content = content;
                spec.bitrateKbps = stereo ? 128 : 32;
                const Decoded decoded = Decode(mp3gen::MakeMp3(spec));
                ASSERT_TRUE(decoded.ok);
                EXPECT_EQ(decoded.rate, rate);
                EXPECT_EQ(decoded.channels, stereo ? 2 : 1);
                EXPECT_EQ(decoded.samples, mp3gen::FrameCount(spec) * mp3gen::kSamplesPerFrame);
                EXPECT_EQ(decoded.peak > 0, content == Content::Noise) << rate << stereo;
            }
        }
    }
}

TEST(Mp3Writer, Id3v1TagEndsTheFileWithoutChangingTheAudio) {
    Mp3Spec spec;
    spec.durationMs = 500;
    const std::string plain = mp3gen::MakeMp3(spec);
    spec.tag =
        mp3gen::Id3v1Tag{"A title longer than thirty bytes in all", "Artist", "", "1999", "", 17};
    const std::string tagged = mp3gen::MakeMp3(spec);
    ASSERT_EQ(tagged.size(), plain.size() + 128);
    const std::string tag = tagged.substr(plain.size());
    EXPECT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 30), "A title longer than thirty byt");
    EXPECT_EQ(tag.substr(33, 6), std::string("Artist"));
    EXPECT_EQ(tag.substr(93, 4), "1999");
    EXPECT_EQ(static_cast<unsigned char>(tag[127]), 17);
    EXPECT_EQ(Decode(tagged).samples, Decode(plain).samples);
}

TEST(Mp3Writer, RejectsRatesThatMpeg1DoesNotHave) {
    Mp3Spec spec;
    spec.bitrateKbps = 100;
    EXPECT_TRUE(mp3gen::MakeMp3(spec).empty());
    spec.bitrateKbps = 128;
    spec.sampleRate = 22050;
    EXPECT_FALSE(mp3gen::IsValid(spec));
    EXPECT_FALSE(mp3gen::WriteMp3("/nonexistent-folder/x.mp3", Mp3Spec{}));
    EXPECT_EQ(mp3gen::FileSize(spec), 0);
}

// The simulated core announces a song's size long before it writes the
// file, so the size must come out the same without building the bytes.
TEST(Mp3Writer, FileSizeIsTheSizeOfTheBuiltFile) {
    for (const int rate : {32000, 44100, 48000}) {
        for (const int kbps : {32, 112, 128, 320}) {
            for (const std::int64_t ms : {0, 1, 26, 999, 7'001}) {
                Mp3Spec spec;
                spec.sampleRate = rate;
                spec.bitrateKbps = kbps;
                spec.durationMs = ms;
                spec.tag = ms % 2 == 1 ? std::optional<mp3gen::Id3v1Tag>{mp3gen::Id3v1Tag{}}
                                       : std::nullopt;
                EXPECT_EQ(mp3gen::FileSize(spec),
                          static_cast<std::int64_t>(mp3gen::MakeMp3(spec).size()))
                    << rate << " Hz, " << kbps << " kbit/s, " << ms << " ms";
            }
        }
    }
    EXPECT_EQ(mp3gen::Mpeg1BitrateAtMost(129), 128);
    EXPECT_EQ(mp3gen::Mpeg1BitrateAtMost(320), 320);
    EXPECT_EQ(mp3gen::Mpeg1BitrateAtMost(1000), 320);
    EXPECT_EQ(mp3gen::Mpeg1BitrateAtMost(8), 32);
}

}  // namespace
}  // namespace korvana::test
