#include <gtest/gtest.h>

#include <fstream>

#include "library/LibraryCommands.h"
#include "library/LibraryModel.h"
#include "library/Player.h"
#include "tests/library/LibraryTestDoubles.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;
using Messages = std::vector<std::pair<std::string, std::string>>;

class LibraryCommandsTest : public ::testing::Test {
  protected:
    LibraryCommandsTest() {
        fs::create_directories(downloads_);
        for (const char* name : {"a.mp3", "b.mp3"}) {
            std::ofstream(downloads_ / name) << name;
        }
        LibraryScanner scanner(downloads_);
        model_.Refresh(scanner);
    }
    // The listed entries of these names, in this order.
    std::vector<LibraryEntry> Entries(std::initializer_list<std::string> names) const {
        std::vector<LibraryEntry> entries;
        for (const std::string& name : names) {
            for (const LibraryEntry& row : model_.Rows()) {
                if (row.fileName == name) {
                    entries.push_back(row);
                }
            }
        }
        EXPECT_EQ(entries.size(), names.size());
        return entries;
    }

    TempDir dir_;
    fs::path downloads_ = dir_.Path() / "Downloads";
    RecordingPrompter prompter_;
    RecordingOpener opener_;
    LibraryModel model_;
    LibraryCommands commands_{prompter_, opener_, downloads_};
};

TEST_F(LibraryCommandsTest, DeleteRemovesSelectedFilesAndReportsFailures) {
    commands_.Delete({}, {});
    commands_.Delete(Entries({"b.mp3"}), {});
    EXPECT_FALSE(fs::exists(downloads_ / "b.mp3"));
    EXPECT_TRUE(fs::exists(downloads_ / "a.mp3"));
    EXPECT_EQ(model_.Rows().size(), 2u);  // the next refresh removes the row

    commands_.Delete(Entries({"b.mp3"}), {});
    EXPECT_EQ(prompter_.informed, (Messages{{"Please select an mp3 to delete.", "Play Error"},
                                            {"Unable to delete file", "Delete Error"}}));
}

TEST_F(LibraryCommandsTest, DeleteRefusesTheLoadedTrackEvenWhenPaused) {
    FakeMediaBackend media;
    FakeClock clock;
    StandardRandomSource random;
    Player player(media, prompter_, clock, random, dir_.Path() / "TempPlay");
    const LibraryEntry a = Entries({"a.mp3"}).front();
    player.PlaySelection({{a.fileName, a.fullPath}});
    player.Pause();
    ASSERT_TRUE(player.Paused());

    commands_.Delete(Entries({"a.mp3", "b.mp3"}), {player.CurrentFile(), player.PlaybackOpen()});
    EXPECT_TRUE(fs::exists(downloads_ / "a.mp3"));
    EXPECT_FALSE(fs::exists(downloads_ / "b.mp3"));
    EXPECT_EQ(prompter_.informed,
              (Messages{{"File is currently playing, please stop it, then try again.",
                         "File Delete Error"}}));

    player.Stop();
    commands_.Delete(Entries({"a.mp3"}), {player.CurrentFile(), player.PlaybackOpen()});
    EXPECT_FALSE(fs::exists(downloads_ / "a.mp3"));
}

TEST_F(LibraryCommandsTest, DeleteGoesThroughTheGivenRemover) {
    std::vector<fs::path> trashed;
    LibraryCommands commands(prompter_, opener_, downloads_, [&](const fs::path& file) {
        trashed.push_back(file);
        return true;
    });
    commands.Delete(Entries({"a.mp3"}), {});
    EXPECT_EQ(trashed, (std::vector<fs::path>{downloads_ / "a.mp3"}));
    EXPECT_TRUE(fs::exists(downloads_ / "a.mp3"));
}

TEST_F(LibraryCommandsTest, LaunchOpensEachSelectedFileAndExploreTheFolder) {
    commands_.Launch({});
    EXPECT_EQ(prompter_.informed, (Messages{{"Please select a file to launch.", "Play Error"}}));
    commands_.Launch(Entries({"b.mp3", "a.mp3"}));
    commands_.Explore();
    EXPECT_EQ(opener_.opened,
              (std::vector<std::string>{(downloads_ / "b.mp3").string(),
                                        (downloads_ / "a.mp3").string(), downloads_.string()}));
}

}  // namespace
}  // namespace korvana::test
