#include "desktop/FileUri.h"
#include "desktop/MediaControl.h"
#include "tests/desktop/MediaPlayerFixture.h"

namespace korvana::test {
namespace {

using MediaControl = MediaPlayerFixture;

TEST_F(MediaControl, AnEmptyPlayerIsStoppedWithNoTrackAndNothingToDo) {
    const MediaState state = ReadMediaState(player_);
    EXPECT_EQ(state.status, "Stopped");
    EXPECT_EQ(state.trackId, kNoTrackId);
    EXPECT_FALSE(state.canPlay || state.canPause || state.canSeek || state.canGoNext);
    // A media key on an empty playlist opens no message box.
    MediaPlay(player_);
    MediaPlayPause(player_);
    MediaNext(player_);
    MediaPrevious(player_);
    EXPECT_TRUE(prompter_.informed.empty());
    EXPECT_FALSE(player_.PlaybackOpen());
}

TEST_F(MediaControl, ThePlayingTrackIsDescribedWithItsFileUrlAndLength) {
    std::ofstream(library_ / "my song #1.mp3") << "audio";
    player_.PlaySelection({{"My Song", PathOf("my song #1.mp3")}});
    const MediaState state = ReadMediaState(player_);
    EXPECT_EQ(state.status, "Playing");
    EXPECT_EQ(state.title, "My Song");
    EXPECT_EQ(state.lengthUs, media_.length * 1000);
    EXPECT_EQ(LocalPathFromFileUri(state.url), std::optional(PathOf("my song #1.mp3")));
    EXPECT_NE(state.trackId, kNoTrackId);
    EXPECT_TRUE(state.canPause && state.canSeek && state.canGoNext && state.canPlay);
    media_.position = 42'000;
    player_.Tick();
    EXPECT_EQ(MediaPositionUs(player_), 42'000'000);
}

TEST_F(MediaControl, PlayNeverRestartsAPlayingTrackAndPauseNeverResumes) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    media_.position = 10'000;
    MediaPlay(player_);
    EXPECT_EQ(media_.Opens(), 1);
    EXPECT_EQ(media_.position, 10'000);

    MediaPause(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Paused");
    MediaPause(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Paused");
    MediaPlay(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Playing");
    EXPECT_EQ(media_.Opens(), 1);

    MediaPlayPause(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Paused");
    MediaPlayPause(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Playing");
    MediaStop(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Stopped");
    EXPECT_EQ(ReadMediaState(player_).trackId, kNoTrackId);
    MediaPlayPause(player_);
    EXPECT_EQ(ReadMediaState(player_).status, "Playing");
}

TEST_F(MediaControl, NextAndPreviousChangeTheTrackAndItsId) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    const std::string first = ReadMediaState(player_).trackId;
    MediaNext(player_);
    EXPECT_EQ(media_.openFile, "b.mp3");
    EXPECT_NE(ReadMediaState(player_).trackId, first);
    MediaPrevious(player_);
    EXPECT_EQ(media_.openFile, "a.mp3");
    EXPECT_EQ(ReadMediaState(player_).trackId, first);
}

TEST_F(MediaControl, SeekMovesWithinTheTrackAndPastItsEndToTheNext) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    media_.position = 60'000;
    player_.Tick();
    MediaSeek(player_, 30'000'000);
    EXPECT_EQ(media_.position, 90'000);
    MediaSeek(player_, -500'000'000);
    EXPECT_EQ(media_.position, 0);
    MediaSeek(player_, (media_.length + 1'000) * 1000);
    EXPECT_EQ(media_.openFile, "b.mp3");
}

TEST_F(MediaControl, SetPositionHoldsOnlyForTheCurrentTrackAndWithinIt) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    const std::string id = ReadMediaState(player_).trackId;
    MediaSetPosition(player_, id, 100'000'000);
    EXPECT_EQ(media_.position, 100'000);
    MediaSetPosition(player_, "/org/korvana/Track/other", 5'000'000);
    MediaSetPosition(player_, id, -1);
    MediaSetPosition(player_, id, (media_.length + 1) * 1000);
    EXPECT_EQ(media_.position, 100'000);
}

TEST_F(MediaControl, VolumeIsAFractionClampedAndNaNIgnored) {
    MediaSetVolume(player_, 0.25);
    EXPECT_EQ(player_.Volume(), 250);
    EXPECT_DOUBLE_EQ(ReadMediaState(player_).volume, 0.25);
    MediaSetVolume(player_, 7.0);
    EXPECT_EQ(player_.Volume(), 1000);
    MediaSetVolume(player_, -3.0);
    EXPECT_EQ(player_.Volume(), 0);
    MediaSetVolume(player_, std::nan(""));
    EXPECT_EQ(player_.Volume(), 0);
}

TEST_F(MediaControl, OpenUriAddsALocalFileAndPlaysItEvenFromPause) {
    player_.PlaySelection(Tracks({"a.mp3"}));
    MediaPause(player_);
    ASSERT_TRUE(MediaOpenUri(player_, FileUriFromLocalPath(PathOf("c.mp3"))));
    EXPECT_EQ(media_.openFile, "c.mp3");
    EXPECT_EQ(ReadMediaState(player_).status, "Playing");
    EXPECT_EQ(player_.GetPlaylist().Size(), 2);
    EXPECT_EQ(ReadMediaState(player_).title, "c.mp3");
}

TEST_F(MediaControl, OpenUriRefusesWhatIsNotAReadableLocalFile) {
    for (const std::string& uri :
         {std::string("http://127.0.0.1:9/a.mp3"), FileUriFromLocalPath(PathOf("missing.mp3")),
          FileUriFromLocalPath(library_.string()),
          std::string("file://elsewhere") + PathOf("a.mp3"), std::string("a.mp3")}) {
        EXPECT_FALSE(MediaOpenUri(player_, uri)) << uri;
    }
    EXPECT_TRUE(player_.GetPlaylist().Empty());
    EXPECT_FALSE(player_.PlaybackOpen());
}

// The hook the media controls follow: every change of track, state or
// volume is told, whoever made it.
TEST_F(MediaControl, ThePlayerTellsItsListenerOfEveryChange) {
    std::vector<MediaState> seen;
    player_.SetChangeListener([&] { seen.push_back(ReadMediaState(player_)); });
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().status, "Playing");
    player_.Pause();
    EXPECT_EQ(seen.back().status, "Paused");
    player_.Play();
    EXPECT_EQ(seen.back().status, "Playing");
    const std::string first = seen.back().trackId;
    media_.Finish();
    player_.Tick();
    EXPECT_NE(seen.back().trackId, first);
    player_.SetVolume(300);
    EXPECT_DOUBLE_EQ(seen.back().volume, 0.3);
    player_.Stop();
    EXPECT_EQ(seen.back().status, "Stopped");
}

}  // namespace
}  // namespace korvana::test
