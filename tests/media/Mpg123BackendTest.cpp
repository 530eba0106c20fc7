#include <gtest/gtest.h>

#include <fstream>

#include "platform/media/Mp3Decoder.h"
#include "platform/media/Mpg123Backend.h"
#include "platform/media/Volume.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

class Mpg123BackendTest : public ::testing::Test {
  protected:
    Mpg123BackendTest() {
        spec_.durationMs = 2000;
        file_ = WriteTestMp3(dir_.Path(), "two-seconds.mp3", spec_);
    }
    ~Mpg123BackendTest() override {
        log_->Release();
        backend_.Close();
    }

    std::int64_t ChunksMs(int chunks) const {
        return std::int64_t{chunks} * Mpg123Backend::kChunkFrames * 1000 / spec_.sampleRate;
    }

    TempDir dir_;
    mp3gen::Mp3Spec spec_;
    std::filesystem::path file_;
    std::shared_ptr<OutputLog> log_ = std::make_shared<OutputLog>();
    Mpg123Backend backend_{[log = log_] { return std::make_unique<GatedOutput>(log); }};
};

TEST_F(Mpg123BackendTest, OpenKnowsTheLengthWithinAFrame) {
    ASSERT_TRUE(backend_.Open(file_));
    EXPECT_EQ(backend_.LastError(), MediaError::None);
    EXPECT_NEAR(backend_.LengthMs(), spec_.durationMs, 27);
    EXPECT_EQ(backend_.LengthMs(), mp3gen::StreamDurationMs(spec_));
    EXPECT_EQ(backend_.PositionMs(), 0);
}

TEST_F(Mpg123BackendTest, PositionAdvancesWhilePlayingAndHoldsWhilePaused) {
    ASSERT_TRUE(backend_.Open(file_));
    backend_.Play();
    log_->Grant(3);
    ASSERT_TRUE(Eventually([&] { return backend_.PositionMs() == ChunksMs(3); }));
    EXPECT_EQ(log_->Read(&OutputLog::resumes), 1);

    backend_.Pause();
    log_->Grant(1);  // the chunk that may already be on its way
    ASSERT_TRUE(Eventually([&] { return log_->Read(&OutputLog::pauses) == 1; }));
    const std::int64_t paused = backend_.PositionMs();
    const int writes = log_->Read(&OutputLog::writes);
    log_->Grant(20);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(backend_.PositionMs(), paused);
    EXPECT_EQ(log_->Read(&OutputLog::writes), writes);

    backend_.Resume();
    ASSERT_TRUE(Eventually([&] { return backend_.PositionMs() > paused; }));
    EXPECT_EQ(log_->Read(&OutputLog::resumes), 2);
}

TEST_F(Mpg123BackendTest, SeekMovesThePositionAndTheDecoder) {
    ASSERT_TRUE(backend_.Open(file_));
    backend_.Seek(1000);
    EXPECT_EQ(backend_.PositionMs(), 1000);
    log_->Release();
    backend_.Play();
    ASSERT_TRUE(Eventually([&] { return backend_.PositionMs() == backend_.LengthMs(); }));
    // Exactly the frames after the seek point reached the output.
    EXPECT_EQ(log_->Read(&OutputLog::framesSinceDrop),
              mp3gen::FrameCount(spec_) * mp3gen::kSamplesPerFrame - spec_.sampleRate);

    // Paused, so that the seek back to the start does not play the track
    // again while the position is read.
    backend_.Pause();
    backend_.Seek(-50);
    EXPECT_EQ(backend_.PositionMs(), 0);
    backend_.Seek(1'000'000);
    EXPECT_EQ(backend_.PositionMs(), backend_.LengthMs());
}

TEST_F(Mpg123BackendTest, StopDropsQueuedAudioAndCloseForgetsTheFile) {
    ASSERT_TRUE(backend_.Open(file_));
    backend_.Play();
    log_->Grant(2);
    ASSERT_TRUE(Eventually([&] { return backend_.PositionMs() == ChunksMs(2); }));
    backend_.Stop();
    log_->Grant(1);
    ASSERT_TRUE(Eventually(
        [&] { return log_->Read(&OutputLog::drops) == 1 && log_->Read(&OutputLog::pauses) == 1; }));
    backend_.Close();
    EXPECT_EQ(backend_.LengthMs(), 0);
    EXPECT_EQ(backend_.PositionMs(), 0);
    backend_.Play();
    EXPECT_EQ(backend_.LastError(), MediaError::NotOpen);
}

TEST_F(Mpg123BackendTest, VolumeScalesWhatReachesTheOutput) {
    spec_.content = mp3gen::Content::Noise;
    const auto noisy = WriteTestMp3(dir_.Path(), "noise.mp3", spec_);
    Mp3Decoder reference;
    ASSERT_TRUE(reference.OpenFile(noisy));
    std::vector<std::int16_t> expected(Mpg123Backend::kChunkFrames * 2);
    bool ended = false;
    ASSERT_EQ(reference.Read(expected.data(), Mpg123Backend::kChunkFrames, &ended),
              Mpg123Backend::kChunkFrames);
    ScaleVolume(expected.data(), expected.size(), 500);

    ASSERT_TRUE(backend_.Open(noisy));
    backend_.SetVolume(500);
    backend_.Play();
    log_->Grant(1);
    ASSERT_TRUE(Eventually([&] { return log_->Read(&OutputLog::writes) >= 1; }));
    EXPECT_EQ(log_->Read(&OutputLog::firstChunk), expected);
    EXPECT_NE(expected, std::vector<std::int16_t>(expected.size(), 0));
}

TEST_F(Mpg123BackendTest, FailuresGiveTheirErrors) {
    EXPECT_FALSE(backend_.Open(dir_.Path() / "missing.mp3"));
    EXPECT_EQ(backend_.LastError(), MediaError::OpenFailed);
    EXPECT_FALSE(backend_.LastErrorText().empty());

    const auto text = dir_.Path() / "notes.mp3";
    std::ofstream(text) << std::string(5000, 'n');
    EXPECT_FALSE(backend_.Open(text));
    EXPECT_EQ(backend_.LastError(), MediaError::NotAudio);

    log_->failStart = true;
    EXPECT_FALSE(backend_.Open(file_));
    EXPECT_EQ(backend_.LastError(), MediaError::NoAudioOutput);
    EXPECT_EQ(backend_.LastErrorText(), "test output refused");
    EXPECT_EQ(backend_.LengthMs(), 0);
}

TEST(Volume, ScalesAndClamps) {
    std::vector<std::int16_t> samples = {1000, -1000, 32767, -32768};
    ScaleVolume(samples.data(), samples.size(), 1000);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{1000, -1000, 32767, -32768}));
    ScaleVolume(samples.data(), samples.size(), 250);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{250, -250, 8191, -8192}));
    ScaleVolume(samples.data(), samples.size(), 5000);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{250, -250, 8191, -8192}));
    ScaleVolume(samples.data(), samples.size(), -3);
    EXPECT_EQ(samples, (std::vector<std::int16_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace korvana::test
