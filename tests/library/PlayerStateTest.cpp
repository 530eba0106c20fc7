#include "library/PlayerState.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/support/TempDir.h"

namespace korvana {
namespace {

PlayerState Sample(int tracks) {
    PlayerState state;
    for (int i = 0; i < tracks; ++i) {
        state.tracks.push_back(
            {"Zwëi " + std::to_string(i) + ".mp3", "/music/Zwëi " + std::to_string(i) + ".mp3"});
    }
    state.volume = 640;
    state.randomOrder = true;
    state.current = tracks > 1 ? 1 : -1;
    state.positionMs = 61'500;
    return state;
}

TEST(PlayerStateFile, WhatIsSavedIsLoadedBack) {
    test::TempDir dir;
    const auto file = dir.Path() / "state" / "player.json";
    EXPECT_FALSE(LoadPlayerState(file));
    ASSERT_TRUE(SavePlayerState(file, Sample(3)));
    EXPECT_EQ(LoadPlayerState(file), Sample(3));
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".new"));
}

TEST(PlayerStateFile, AnEditedOrCutFileIsReadWithinBoundsOrNotAtAll) {
    for (const char* text : {"", "{", "[]", R"({"version":2,"tracks":[]})", "null"}) {
        EXPECT_FALSE(ReadPlayerState(text)) << text;
    }
    const auto state = ReadPlayerState(R"({"version":1,"volume":99999,"current":7,
        "positionMs":-5,"random":"yes","tracks":[{"title":"no path"},{"path":"/m/a.mp3"},
        7,{"path":"/m/b.mp3","title":"B"}]})");
    ASSERT_TRUE(state);
    ASSERT_EQ(state->tracks.size(), 2u);
    EXPECT_EQ(state->tracks[0].title, "a.mp3");
    EXPECT_EQ(state->volume, 1000);
    EXPECT_EQ(state->current, -1);
    EXPECT_EQ(state->positionMs, 0);
    EXPECT_FALSE(state->randomOrder);
    EXPECT_FALSE(ReadPlayerState(std::string(PlayerState::kMaxFileBytes + 1, ' ')));
}

// A program killed while it saves leaves the old playlist or the new one,
// whole, never a part of either.
TEST(PlayerStateFile, AKillDuringASaveLeavesAWholeFile) {
    test::TempDir dir;
    const auto file = dir.Path() / "player.json";
    const PlayerState before = Sample(2);
    const PlayerState after = Sample(4000);
    ASSERT_TRUE(SavePlayerState(file, before));
    for (int attempt = 0; attempt < 12; ++attempt) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                SavePlayerState(file, attempt % 2 == 0 ? after : before);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + attempt * 3));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::optional<PlayerState> loaded = LoadPlayerState(file);
        ASSERT_TRUE(loaded) << "attempt " << attempt;
        EXPECT_TRUE(*loaded == before || *loaded == after) << "attempt " << attempt;
    }
}

}  // namespace
}  // namespace korvana
