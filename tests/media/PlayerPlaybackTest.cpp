#include <gtest/gtest.h>

#include <fstream>

#include "library/Player.h"
#include "library/RandomSource.h"
#include "platform/media/NullMediaBackend.h"
#include "tests/library/LibraryTestDoubles.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

// The player on real MP3 files through the silent backend, with the clock
// driven by the test: the tick sees the real lengths and ends.
TEST(PlayerPlayback, PlaysAPlaylistOfRealFilesToItsEnd) {
    TempDir dir;
    const fs::path library = dir.Path() / "Downloads";
    const fs::path tempPlay = dir.Path() / "TempPlay";
    fs::create_directories(library);
    std::vector<Track> tracks;
    for (int i = 1; i <= 3; ++i) {
        mp3gen::Mp3Spec spec;
        spec.durationMs = 1000 * i;
        const std::string name = "track" + std::to_string(i) + ".mp3";
        tracks.push_back({name, WriteTestMp3(library, name, spec).string()});
    }
    std::ofstream(library / "broken.mp3") << "not audio";
    tracks.insert(tracks.begin() + 1, {"broken.mp3", (library / "broken.mp3").string()});

    FakeClock clock;
    NullMediaBackend media(clock);
    RecordingPrompter prompter;
    StandardRandomSource random;
    Player player(media, prompter, clock, random, tempPlay);
    player.PlaySelection(tracks);
    ASSERT_TRUE(player.PlaybackOpen());
    EXPECT_EQ(player.TimeText(), " 0:00 /  0:01");

    std::vector<std::string> titles{player.Title()};
    for (int tick = 0; tick < 40 && player.PlaybackOpen(); ++tick) {
        clock.Advance(Player::kTickInterval);
        player.Tick();
        if (player.PlaybackOpen() && player.Title() != titles.back()) {
            titles.push_back(player.Title());
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"track1.mp3", "track2.mp3", "track3.mp3"}));
    EXPECT_FALSE(player.PlaybackOpen());
    EXPECT_TRUE(fs::is_empty(tempPlay));
    EXPECT_TRUE(prompter.informed.empty());
}

}  // namespace
}  // namespace korvana::test
