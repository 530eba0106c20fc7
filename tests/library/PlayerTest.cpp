#include <gtest/gtest.h>

#include <fstream>

#include "library/PlayTime.h"
#include "library/Player.h"
#include "tests/library/LibraryTestDoubles.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

class PlayerTest : public ::testing::Test {
  protected:
    PlayerTest() {
        fs::create_directories(library_);
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            std::ofstream(library_ / name) << "audio of " << name;
        }
    }

    Track TrackOf(const std::string& name) const { return {name, (library_ / name).string()}; }
    std::vector<Track> Tracks(std::initializer_list<const char*> names) const {
        std::vector<Track> tracks;
        for (const char* name : names) {
            tracks.push_back(TrackOf(name));
        }
        return tracks;
    }
    void EndTrack() {
        media_.Finish();
        player_.Tick();
    }
    bool TempPlayEmpty() const { return fs::is_empty(tempPlay_); }

    TempDir dir_;
    fs::path library_ = dir_.Path() / "Downloads";
    fs::path tempPlay_ = dir_.Path() / "TempPlay";
    FakeMediaBackend media_;
    RecordingPrompter prompter_;
    FakeClock clock_;
    StandardRandomSource random_;
    Player player_{media_, prompter_, clock_, random_, tempPlay_};
};

TEST(PlayTimeText, PadsMinutesAndSplitsSeconds) {
    EXPECT_EQ(FormatPlayTime(75, 185), " 1:15 /  3:05");
    EXPECT_EQ(FormatPlayTime(0, 0), " 0:00 /  0:00");
    EXPECT_EQ(FormatPlayTime(6001, 59), "100:01 /  0:59");
    EXPECT_EQ(FormatPlayTime(-5, 9), " 0:00 /  0:09");
}

TEST_F(PlayerTest, StartPlaysACopyWithLengthTimeAndVolume) {
    player_.SetVolume(600);
    player_.PlaySelection(Tracks({"a.mp3"}));
    ASSERT_TRUE(player_.PlaybackOpen());
    EXPECT_EQ(media_.calls, (std::vector<std::string>{"Open a.mp3", "Volume 600", "Play"}));
    EXPECT_TRUE(fs::exists(tempPlay_ / "a.mp3"));
    EXPECT_EQ(player_.CurrentFile(), (library_ / "a.mp3").string());
    EXPECT_EQ(player_.Title(), "a.mp3");
    EXPECT_EQ(player_.TimeText(), " 0:00 /  3:05");
    EXPECT_EQ(player_.SliderRange(), 185'000);
    EXPECT_TRUE(player_.TickRunning());

    media_.position = 75'400;
    player_.Tick();
    EXPECT_EQ(player_.TimeText(), " 1:15 /  3:05");
    EXPECT_EQ(player_.SliderPosition(), 75'400);
}

TEST_F(PlayerTest, PlayRowPlaysThatRowEvenWhilePaused) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.Pause();
    ASSERT_TRUE(player_.Paused());
    player_.PlayRow(2);
    EXPECT_EQ(player_.Title(), "c.mp3");
    EXPECT_FALSE(player_.Paused());
    EXPECT_EQ(player_.GetPlaylist().Current(), 2);
    EXPECT_EQ(player_.GetPlaylist().Selected(), std::optional<std::size_t>(2));
    player_.PlayRow(7);
    EXPECT_EQ(player_.Title(), "c.mp3");
}

TEST_F(PlayerTest, ThreeTracksWithoutRepeatStopAfterTheThird) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    EndTrack();
    EXPECT_EQ(media_.openFile, "b.mp3");
    EndTrack();
    EXPECT_EQ(media_.openFile, "c.mp3");
    EndTrack();
    EXPECT_EQ(media_.Opens(), 3);
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_FALSE(player_.TickRunning());
    EXPECT_EQ(player_.Title(), "");
    EXPECT_EQ(player_.TimeText(), "");
    EXPECT_EQ(player_.SliderPosition(), 0);
    EXPECT_TRUE(TempPlayEmpty());
}

TEST_F(PlayerTest, RepeatStartsTheFirstTrackAgain) {
    player_.ToggleRepeat();
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    EndTrack();
    EndTrack();
    EXPECT_TRUE(player_.PlaybackOpen());
    EXPECT_EQ(media_.openFile, "a.mp3");
    EXPECT_EQ(player_.Title(), "a.mp3");
}

TEST_F(PlayerTest, PreviousWrapsAndStopsWithoutACurrentTrack) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.PreviousTrack();
    EXPECT_EQ(media_.openFile, "c.mp3");
    player_.PreviousTrack();
    EXPECT_EQ(media_.openFile, "b.mp3");

    player_.Stop();
    const int opens = media_.Opens();
    player_.PreviousTrack();
    EXPECT_EQ(media_.Opens(), opens);
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_EQ(player_.CurrentFile(), "");
}

TEST_F(PlayerTest, NextAfterStopStartsTheFirstOnlyWithRepeatOrRandom) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    player_.Stop();
    player_.NextTrack();
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_EQ(player_.CurrentFile(), (library_ / "a.mp3").string());

    player_.ToggleRepeat();
    player_.NextTrack();
    EXPECT_TRUE(player_.PlaybackOpen());
    EXPECT_EQ(media_.openFile, "a.mp3");

    player_.Stop();
    player_.ToggleRepeat();
    player_.ToggleRandom();
    player_.NextTrack();
    EXPECT_TRUE(player_.PlaybackOpen());
}

TEST_F(PlayerTest, RandomAlternatesBetweenTwoAndRepeatsOne) {
    ScriptedRandom random({4, 6, 8, 3});  // rows 0, 0, 0, 1 of two
    Player player(media_, prompter_, clock_, random, tempPlay_);
    player.ToggleRandom();
    player.PlaySelection(Tracks({"a.mp3", "b.mp3"}));
    for (const char* expected : {"b.mp3", "a.mp3", "b.mp3", "a.mp3"}) {
        media_.Finish();
        player.Tick();
        EXPECT_EQ(media_.openFile, expected);
    }
    EXPECT_EQ(random.seeds.front(), static_cast<std::uint32_t>(clock_.WallNow()));

    player.PlaySelection(Tracks({"c.mp3"}));
    media_.Finish();
    player.Tick();
    EXPECT_TRUE(player.PlaybackOpen());
    EXPECT_EQ(media_.openFile, "c.mp3");
}

TEST_F(PlayerTest, RandomThatKeepsDrawingTheCurrentRowStillMovesOn) {
    ScriptedRandom random({0});
    Player player(media_, prompter_, clock_, random, tempPlay_);
    player.ToggleRandom();
    player.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    media_.Finish();
    player.Tick();
    EXPECT_EQ(media_.openFile, "b.mp3");
}

TEST_F(PlayerTest, PlayRestartsFromTheSelectionButContinuesWhenPaused) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.SelectTrack(2);
    player_.Play();
    EXPECT_EQ(media_.openFile, "c.mp3");
    player_.SelectTrack(std::nullopt);
    player_.Play();
    EXPECT_EQ(media_.openFile, "a.mp3");

    player_.Pause();
    EXPECT_TRUE(player_.Paused());
    player_.SelectTrack(1);
    const int opens = media_.Opens();
    player_.Play();
    EXPECT_EQ(media_.Opens(), opens);
    EXPECT_EQ(media_.calls.back(), "Resume");
    EXPECT_FALSE(player_.Paused());
}

TEST_F(PlayerTest, PauseTogglesOnlyALoadedTrackAndStopForgetsIt) {
    player_.Pause();
    EXPECT_FALSE(player_.Paused());
    EXPECT_TRUE(media_.calls.empty());

    player_.PlaySelection(Tracks({"a.mp3"}));
    player_.Pause();
    player_.Pause();
    EXPECT_EQ(media_.calls[media_.calls.size() - 2], "Pause");
    EXPECT_EQ(media_.calls.back(), "Resume");

    // A paused track that is stopped must not leave Play resuming nothing.
    player_.Pause();
    player_.Stop();
    EXPECT_FALSE(player_.Paused());
    player_.Play();
    EXPECT_TRUE(player_.PlaybackOpen());
    EXPECT_EQ(media_.Opens(), 2);
}

// Titles are bare file names, so two albums' "01.mp3" share one.
TEST_F(PlayerTest, RowsOfTheSameTitleAreTrackedByPosition) {
    std::vector<Track> tracks;
    for (const char* album : {"x", "y"}) {
        fs::create_directories(library_ / album);
        std::ofstream(library_ / album / "01.mp3") << "track one of " << album;
        tracks.push_back({"01.mp3", (library_ / album / "01.mp3").string()});
    }
    tracks.insert(tracks.begin() + 1, TrackOf("b.mp3"));
    player_.PlaySelection(tracks);
    EndTrack();
    EXPECT_EQ(player_.CurrentFile(), (library_ / "b.mp3").string());
    EndTrack();
    EXPECT_EQ(player_.CurrentFile(), (library_ / "y" / "01.mp3").string());
    EndTrack();  // the last row: without repeat the player stops
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_EQ(media_.Opens(), 3);

    player_.SelectTrack(2);
    player_.Play();
    player_.PreviousTrack();
    EXPECT_EQ(player_.CurrentFile(), (library_ / "b.mp3").string());
    player_.PreviousTrack();
    EXPECT_EQ(player_.CurrentFile(), (library_ / "x" / "01.mp3").string());
}

TEST_F(PlayerTest, TheCurrentRowFollowsMovesAndRemovals) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.SelectTrack(0);
    player_.MoveDown();  // a plays in row 1 now
    EndTrack();
    EXPECT_EQ(media_.openFile, "c.mp3");

    player_.SelectTrack(0);  // b, before the current row
    player_.RemoveTrack();
    player_.PreviousTrack();
    EXPECT_EQ(media_.openFile, "a.mp3");

    player_.SelectTrack(0);  // the current row itself
    player_.RemoveTrack();
    EndTrack();  // no current row: the list starts over, which ends playback
    EXPECT_FALSE(player_.PlaybackOpen());
}

TEST_F(PlayerTest, StopEmptiesTempPlayAndClearsTheDisplays) {
    player_.PlaySelection(Tracks({"a.mp3"}));
    std::ofstream(tempPlay_ / "left-over.mp3") << "x";
    player_.Stop();
    EXPECT_TRUE(TempPlayEmpty());
    EXPECT_EQ(media_.calls,
              (std::vector<std::string>{"Open a.mp3", "Volume 1000", "Play", "Stop", "Close"}));
    EXPECT_EQ(player_.Title(), "");
    EXPECT_EQ(player_.TimeText(), "");
}

TEST_F(PlayerTest, FailedStartMovesOnToTheNextTrack) {
    media_.openFailures["b.mp3"] = MediaError::NotAudio;
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    EndTrack();
    EXPECT_EQ(media_.openFile, "c.mp3");
    EXPECT_TRUE(player_.PlaybackOpen());
    EXPECT_EQ(player_.StartError(), MediaError::None);
    EXPECT_EQ(player_.Title(), "c.mp3");
}

TEST_F(PlayerTest, ChainOfFailuresEndsWhenEveryTrackFailed) {
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
        media_.openFailures[name] = MediaError::NotAudio;
    }
    player_.ToggleRepeat();
    player_.ToggleRandom();
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(media_.Opens(), 3);
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_FALSE(player_.TickRunning());
    EXPECT_EQ(player_.Title(), "");
    EXPECT_TRUE(TempPlayEmpty());
}

TEST_F(PlayerTest, FileThatCannotBeCopiedIsNotPlayedSilently) {
    player_.PlaySelection({{"gone.mp3", (library_ / "gone.mp3").string()}});
    EXPECT_FALSE(player_.PlaybackOpen());
    EXPECT_EQ(media_.Opens(), 0);
    EXPECT_TRUE(prompter_.informed.empty());
}

TEST_F(PlayerTest, CommandsWithoutWhatTheyNeedShowTheirMessages) {
    player_.Play();
    player_.PlaySelection({});
    player_.AddSelection({});
    EXPECT_EQ(prompter_.informed,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Please add an item to play to the playlist", "Playlist Error"},
                  {"Please select an mp3 to play.", "Play Error"},
                  {"Please select an mp3 to play.", "Play Error"}}));
    EXPECT_TRUE(player_.GetPlaylist().Empty());
}

TEST_F(PlayerTest, AddSelectionAppendsWithoutTouchingPlayback) {
    player_.PlaySelection(Tracks({"a.mp3"}));
    player_.AddSelection(Tracks({"b.mp3", "a.mp3"}));
    EXPECT_EQ(player_.GetPlaylist().Rows(), Tracks({"a.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(media_.Opens(), 1);
    EXPECT_EQ(player_.CurrentFile(), (library_ / "a.mp3").string());
}

TEST_F(PlayerTest, SeekAndVolumeActOnTheLoadedTrackOnly) {
    player_.Seek(5'000);
    EXPECT_EQ(player_.SliderPosition(), 0);
    player_.SetVolume(300);
    EXPECT_EQ(media_.volume, -1);

    player_.PlaySelection(Tracks({"a.mp3"}));
    EXPECT_EQ(media_.volume, 300);
    player_.Seek(42'000);
    EXPECT_EQ(media_.position, 42'000);
    EXPECT_EQ(player_.SliderPosition(), 42'000);
    player_.SetVolume(2000);
    EXPECT_EQ(media_.volume, 1000);
}

TEST_F(PlayerTest, PlaylistEditsKeepPlayingAndFollowTheSelection) {
    player_.PlaySelection(Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.SelectTrack(0);
    player_.MoveUp();
    EXPECT_EQ(player_.GetPlaylist().Rows(), Tracks({"a.mp3", "b.mp3", "c.mp3"}));
    player_.MoveDown();
    player_.MoveDown();
    EXPECT_EQ(player_.GetPlaylist().Rows(), Tracks({"b.mp3", "c.mp3", "a.mp3"}));
    EXPECT_EQ(player_.GetPlaylist().Selected(), 2u);
    player_.MoveDown();
    EXPECT_EQ(player_.GetPlaylist().Selected(), 2u);
    player_.RemoveTrack();
    EXPECT_EQ(player_.GetPlaylist().Rows(), Tracks({"b.mp3", "c.mp3"}));
    EXPECT_FALSE(player_.GetPlaylist().Selected());
    player_.RemoveAllTracks();
    EXPECT_TRUE(player_.GetPlaylist().Empty());
    EXPECT_TRUE(player_.PlaybackOpen());

    EndTrack();  // nothing left to play after the emptied list
    EXPECT_FALSE(player_.PlaybackOpen());
}

}  // namespace
}  // namespace korvana::test
