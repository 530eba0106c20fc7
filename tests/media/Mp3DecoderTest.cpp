#include <gtest/gtest.h>

#include <fstream>

#include "platform/media/Mp3Decoder.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

std::int64_t DecodeAll(Mp3Decoder& decoder) {
    std::vector<std::int16_t> buffer(1000 * 2);
    std::int64_t frames = 0;
    for (bool ended = false; !ended;) {
        frames += static_cast<std::int64_t>(decoder.Read(buffer.data(), 1000, &ended));
    }
    return frames;
}

TEST(Mp3Decoder, FileAndMemoryGiveTheSameExactLength) {
    TempDir dir;
    mp3gen::Mp3Spec spec;
    spec.durationMs = 1500;
    spec.sampleRate = 48000;
    spec.stereo = false;
    spec.bitrateKbps = 64;
    spec.tag = mp3gen::Id3v1Tag{"t", "a", "b", "2001", "c", 1};
    const auto file = WriteTestMp3(dir.Path(), "mono.mp3", spec);
    const std::int64_t expected = mp3gen::FrameCount(spec) * mp3gen::kSamplesPerFrame;

    Mp3Decoder fromFile;
    ASSERT_TRUE(fromFile.OpenFile(file));
    EXPECT_EQ(fromFile.Rate(), 48000);
    EXPECT_EQ(fromFile.Channels(), 1);
    EXPECT_EQ(fromFile.LengthFrames(), expected);
    EXPECT_EQ(fromFile.FramesToMs(expected), mp3gen::StreamDurationMs(spec));
    EXPECT_EQ(DecodeAll(fromFile), expected);

    const std::string bytes = mp3gen::MakeMp3(spec);
    Mp3Decoder fromMemory;
    ASSERT_TRUE(fromMemory.OpenMemory(bytes));
    EXPECT_EQ(fromMemory.LengthFrames(), expected);
    ASSERT_TRUE(fromMemory.SeekFrame(expected - 100));
    EXPECT_EQ(DecodeAll(fromMemory), 100);
}

TEST(Mp3Decoder, RefusesWhatIsNotAudio) {
    TempDir dir;
    Mp3Decoder decoder;
    EXPECT_FALSE(decoder.OpenFile(dir.Path() / "absent.mp3"));
    EXPECT_EQ(decoder.Error(), MediaError::OpenFailed);

    std::ofstream(dir.Path() / "empty.mp3");
    EXPECT_FALSE(decoder.OpenFile(dir.Path() / "empty.mp3"));
    EXPECT_EQ(decoder.Error(), MediaError::NotAudio);

    const std::string junk(4096, '\x55');
    EXPECT_FALSE(decoder.OpenMemory(junk));
    EXPECT_EQ(decoder.Error(), MediaError::NotAudio);
    EXPECT_FALSE(decoder.IsOpen());
    bool ended = false;
    std::int16_t sample = 0;
    EXPECT_EQ(decoder.Read(&sample, 1, &ended), 0u);
    EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace korvana::test
