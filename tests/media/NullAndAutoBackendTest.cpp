#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>

#include "platform/media/AutoMediaBackend.h"
#include "platform/media/Mpg123Backend.h"
#include "platform/media/NullMediaBackend.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

using std::chrono::milliseconds;

class SilentBackendTest : public ::testing::Test {
  protected:
    SilentBackendTest() {
        spec_.durationMs = 3000;
        file_ = WriteTestMp3(dir_.Path(), "three.mp3", spec_);
    }

    TempDir dir_;
    mp3gen::Mp3Spec spec_;
    std::filesystem::path file_;
    FakeClock clock_;
};

TEST_F(SilentBackendTest, PositionRunsWithTheClockOnlyWhilePlaying) {
    NullMediaBackend backend(clock_);
    ASSERT_TRUE(backend.Open(file_));
    EXPECT_EQ(backend.LengthMs(), mp3gen::StreamDurationMs(spec_));
    clock_.Advance(milliseconds(400));
    EXPECT_EQ(backend.PositionMs(), 0);

    backend.Play();
    clock_.Advance(milliseconds(700));
    EXPECT_EQ(backend.PositionMs(), 700);
    backend.Pause();
    clock_.Advance(milliseconds(900));
    EXPECT_EQ(backend.PositionMs(), 700);
    backend.Seek(2000);
    EXPECT_EQ(backend.PositionMs(), 2000);
    backend.Resume();
    clock_.Advance(milliseconds(250));
    EXPECT_EQ(backend.PositionMs(), 2250);
    clock_.Advance(milliseconds(5000));
    EXPECT_EQ(backend.PositionMs(), backend.LengthMs());

    backend.Close();
    backend.Play();
    EXPECT_EQ(backend.LastError(), MediaError::NotOpen);
    EXPECT_FALSE(backend.Open(dir_.Path() / "absent.mp3"));
    EXPECT_EQ(backend.LastError(), MediaError::OpenFailed);
}

TEST_F(SilentBackendTest, NoAudioOutputFallsBackToSilence) {
    auto log = std::make_shared<OutputLog>();
    log->failStart = true;
    AutoMediaBackend backend(
        std::make_unique<Mpg123Backend>([log] { return std::make_unique<GatedOutput>(log); }),
        std::make_unique<NullMediaBackend>(clock_), clock_);
    ASSERT_TRUE(backend.Open(file_));
    EXPECT_TRUE(backend.UsingFallback());
    EXPECT_EQ(backend.FallbackReason(), "test output refused");
    EXPECT_EQ(backend.LengthMs(), mp3gen::StreamDurationMs(spec_));
    backend.Play();
    clock_.Advance(milliseconds(1000));
    EXPECT_EQ(backend.PositionMs(), 1000);

    // The device is left alone for a while after failing, then tried again.
    log->failStart = false;
    log->Release();
    ASSERT_TRUE(backend.Open(file_));
    EXPECT_TRUE(backend.UsingFallback());
    clock_.Advance(AutoMediaBackend::kDeviceRetry);
    ASSERT_TRUE(backend.Open(file_));
    EXPECT_FALSE(backend.UsingFallback());

    // A file that is not audio fails as such, not as a missing device.
    const auto text = dir_.Path() / "text.mp3";
    std::ofstream(text) << std::string(3000, 't');
    EXPECT_FALSE(backend.Open(text));
    EXPECT_FALSE(backend.UsingFallback());
    EXPECT_EQ(backend.LastError(), MediaError::NotAudio);
}

TEST_F(SilentBackendTest, DefaultBackendPlaysWithOrWithoutASoundDevice) {
    const auto backend = MakeMediaBackend(clock_, MediaOutput::Automatic);
    ASSERT_TRUE(backend->Open(file_));
    EXPECT_EQ(backend->LengthMs(), mp3gen::StreamDurationMs(spec_));
    backend->SetVolume(0);
    backend->Play();
    EXPECT_EQ(backend->LastError(), MediaError::None);
    backend->Close();

    const auto silent = MakeMediaBackend(clock_, MediaOutput::Silent);
    EXPECT_NE(dynamic_cast<NullMediaBackend*>(silent.get()), nullptr);
}

TEST(MediaOutputChoice, EnvironmentCanSilenceThePlayer) {
    setenv("KORVANA_AUDIO", "null", 1);
    EXPECT_EQ(MediaOutputFromEnvironment(), MediaOutput::Silent);
    setenv("KORVANA_AUDIO", "pulse", 1);
    EXPECT_EQ(MediaOutputFromEnvironment(), MediaOutput::Automatic);
    unsetenv("KORVANA_AUDIO");
    EXPECT_EQ(MediaOutputFromEnvironment(), MediaOutput::Automatic);
}

}  // namespace
}  // namespace korvana::test
