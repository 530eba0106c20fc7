#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "library/Playlist.h"

namespace korvana::test {
namespace {

Track TrackNamed(const std::string& name) {
    return Track{name, "/dl/" + name};
}

// Every edit the player makes, in a random order, with the view taking the
// steps at random moments: the view's copy always ends as the playlist.
TEST(PlaylistChanges, AViewApplyingTheStepsAlwaysShowsThePlaylist) {
    std::mt19937 random(11);
    Playlist playlist;
    std::vector<Track> shown;
    for (int round = 0; round < 500; ++round) {
        const auto edit = random() % 6;
        const std::size_t size = playlist.Rows().size();
        if (edit <= 1 || size == 0) {
            playlist.Append(TrackNamed("t" + std::to_string(round % 7)));
        } else {
            playlist.Select(random() % size);
            if (edit == 2) {
                playlist.MoveSelectedUp();
            } else if (edit == 3) {
                playlist.MoveSelectedDown();
            } else if (edit == 4) {
                playlist.RemoveSelected();
            } else if (random() % 8 == 0) {
                playlist.Clear();
            }
        }
        if (random() % 4 == 0) {
            ApplyRowChanges(shown, playlist.Changes().Take());
            ASSERT_EQ(shown, playlist.Rows()) << "round " << round;
        }
    }
}

TEST(PlaylistChanges, TracksAddedOneByOneAreOneInsertion) {
    Playlist playlist;
    playlist.Append(TrackNamed("a"));
    playlist.Changes().Take();
    for (const char* name : {"b", "c", "d"}) {
        playlist.Append(TrackNamed(name));
    }
    const RowChanges<Track> steps = playlist.Changes().Take();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].kind, RowChange<Track>::Kind::Inserted);
    EXPECT_EQ(steps[0].first, 1u);
    EXPECT_EQ(steps[0].count, 3u);
    EXPECT_EQ(steps[0].rows.back(), TrackNamed("d"));
}

TEST(PlaylistChanges, EditsThatChangeNoRowQueueNothing) {
    Playlist playlist;
    playlist.Clear();
    playlist.Append(TrackNamed("a"));
    playlist.Append(TrackNamed("b"));
    playlist.Changes().Take();
    playlist.Select(0);
    playlist.MoveSelectedUp();
    playlist.Select(1);
    playlist.MoveSelectedDown();
    playlist.SetCurrent(1);
    playlist.Select(std::nullopt);
    playlist.RemoveSelected();
    EXPECT_TRUE(playlist.Changes().Take().empty());
    EXPECT_EQ(playlist.Current(), 1);
}

}  // namespace
}  // namespace korvana::test
