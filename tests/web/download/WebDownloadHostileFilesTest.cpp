#include "WebDownloadFixture.h"
#include "app/FolderClearer.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::FirstTrack;
using test::WebDownloadTest;
using Names = std::vector<std::string>;

// A link planted in Incomplete under the download's name, old or new style,
// is neither written through nor moved into the downloads folder.
TEST_F(WebDownloadTest, ALinkInIncompleteIsNeverWrittenThrough) {
    const fs::path victim = temp.Path() / "victim.txt";
    test::WriteText(victim, "eighteen bytes ok!");
    fs::create_directories(Incomplete());
    fs::create_symlink(victim, Incomplete() / "song.mp3");
    fs::create_symlink(victim, Incomplete() / "song.mp3.korvana-part");
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "song.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(test::ReadText(victim), "eighteen bytes ok!");
    EXPECT_FALSE(fs::is_symlink(DefaultDownloads() / "song.mp3"));
    EXPECT_EQ(test::ReadText(DefaultDownloads() / "song.mp3"), CatalogueBytes(FirstTrack().size));
    EXPECT_TRUE(fs::is_symlink(Incomplete() / "song.mp3"));
    EXPECT_TRUE(fs::is_symlink(Incomplete() / "song.mp3.korvana-part"));
}

TEST_F(WebDownloadTest, AnIncompleteFolderThatIsALinkIsNotWrittenInto) {
    const fs::path elsewhere = temp.Path() / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directory_symlink(elsewhere, Incomplete());
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "song.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error");
    EXPECT_EQ(Files(elsewhere), Names{});
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

// The downloads folder cannot be made (a file stands in its place): the
// finished file is kept, survives the start-up clearing, the user is told
// where and why, and a retry once the folder is fixed puts it in place.
TEST_F(WebDownloadTest, AFileTheDownloadsFolderRefusesIsKeptAndCanBeMovedLater) {
    const fs::path blocked = temp.Path() / "Music";
    test::WriteText(blocked, "not a folder");
    settings.Write("Path", blocked.string());
    std::mutex mutex;
    std::vector<KeptDownload> told;
    MakeDownloads();
    downloads->SetKeptListener([&](const KeptDownload& kept) {
        const std::lock_guard lock(mutex);
        told.push_back(kept);
    });
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "kept.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error");
    EXPECT_EQ(Record(link).savedFile, fs::path());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].keptPath, Incomplete() / "kept.mp3");
    EXPECT_EQ(told[0].downloadsFolder, blocked);
    EXPECT_FALSE(told[0].reason.empty());
    EXPECT_EQ(told[0].link, link);
    const std::string text = KeptDownloadText(told[0]);
    EXPECT_NE(text.find((Incomplete() / "kept.mp3").string()), std::string::npos) << text;
    EXPECT_NE(text.find(told[0].reason), std::string::npos) << text;

    FolderClearer::ClearAll(Incomplete());
    EXPECT_EQ(test::ReadText(Incomplete() / "kept.mp3"), CatalogueBytes(FirstTrack().size));

    ASSERT_TRUE(downloads->RetryKeptMove(told[0]));  // still blocked: told again
    ASSERT_TRUE(WaitForAll());
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(Status(link), "Error");

    fs::remove(blocked);
    ASSERT_TRUE(downloads->RetryKeptMove(told[1]));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(told.size(), 2u);
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(test::ReadText(blocked / "kept.mp3"), CatalogueBytes(FirstTrack().size));
    EXPECT_EQ(Record(link).savedFile, blocked / "kept.mp3");
    EXPECT_EQ(Files(Incomplete()), Names{});
}

}  // namespace
}  // namespace korvana
