#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"
#include "web/download/DownloadFileName.h"
#include "web/download/DownloadFiles.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

TEST(DownloadFileName, HostileNamesStayInsideTheirFolder) {
    EXPECT_EQ(SafeFileName("Artist - Song.mp3"), "Artist - Song.mp3");
    EXPECT_EQ(SafeFileName("../../etc/passwd"), "passwd");
    EXPECT_EQ(SafeFileName("/etc/cron.d/job"), "job");
    EXPECT_EQ(SafeFileName("..\\..\\Windows\\evil.mp3"), "evil.mp3");
    EXPECT_EQ(SafeFileName(".."), "download");
    EXPECT_EQ(SafeFileName("."), "download");
    EXPECT_EQ(SafeFileName("songs/.."), "download");
    EXPECT_EQ(SafeFileName(""), "download");
    EXPECT_EQ(SafeFileName("   "), "download");
    EXPECT_EQ(SafeFileName("dir/"), "download");
    EXPECT_EQ(SafeFileName(std::string("a\0b.mp3", 7)), "a_b.mp3");
    EXPECT_EQ(SafeFileName("line\nbreak\t\x7f.mp3"), "line_break__.mp3");
    EXPECT_EQ(SafeFileName("  padded.mp3 "), "padded.mp3");
}

TEST(DownloadFileName, LongNamesAreCutAndKeepTheirExtension) {
    const std::string longName = std::string(300, 'a') + ".mp3";
    const std::string safe = SafeFileName(longName);
    EXPECT_EQ(safe.size(), kMaxFileNameBytes);
    EXPECT_EQ(safe.substr(safe.size() - 4), ".mp3");
    // A cut never splits a character: "é" is two bytes.
    std::string accents;
    for (int i = 0; i < 200; ++i) {
        accents += "\xC3\xA9";
    }
    const std::string cut = SafeFileName(accents + ".mp3");
    EXPECT_LE(cut.size(), kMaxFileNameBytes);
    EXPECT_EQ(cut.substr(cut.size() - 4), ".mp3");
    EXPECT_EQ((cut.size() - 4) % 2, 0u);
}

TEST(DownloadFileName, NumberedNamesGoBeforeTheExtension) {
    EXPECT_EQ(NumberedFileName("song.mp3", 1), "song (1).mp3");
    EXPECT_EQ(NumberedFileName("noextension", 12), "noextension (12)");
    EXPECT_EQ(NumberedFileName(".hidden", 2), ".hidden (2)");
    const std::string numbered = NumberedFileName(SafeFileName(std::string(300, 'b') + ".mp3"), 3);
    EXPECT_EQ(numbered.size(), kMaxFileNameBytes);
    EXPECT_EQ(numbered.substr(numbered.size() - 8), " (3).mp3");
}

TEST(DownloadFiles, AFinishedFileNeverReplacesOne) {
    test::TempDir temp;
    const fs::path folder = temp.Path() / "Downloads";
    fs::create_directories(folder);
    test::WriteText(folder / "song.mp3", "old");
    test::WriteText(folder / "song (1).mp3", "older");
    test::WriteText(temp.Path() / "incoming", "new");
    const auto placed = MoveToFreeName(temp.Path() / "incoming", folder, "song.mp3");
    ASSERT_TRUE(placed);
    EXPECT_EQ(*placed, folder / "song (2).mp3");
    EXPECT_EQ(test::ReadText(folder / "song.mp3"), "old");
    EXPECT_EQ(test::ReadText(folder / "song (1).mp3"), "older");
    EXPECT_EQ(test::ReadText(*placed), "new");
    EXPECT_FALSE(fs::exists(temp.Path() / "incoming"));
}

TEST(DownloadFiles, AMissingFolderIsMadeAndAMissingFileIsAFailure) {
    test::TempDir temp;
    test::WriteText(temp.Path() / "incoming", "bytes");
    const auto placed = MoveToFreeName(temp.Path() / "incoming", temp.Path() / "a" / "b", "x.mp3");
    ASSERT_TRUE(placed);
    EXPECT_EQ(test::ReadText(temp.Path() / "a" / "b" / "x.mp3"), "bytes");
    EXPECT_FALSE(MoveToFreeName(temp.Path() / "gone", temp.Path() / "a", "y.mp3"));
}

TEST(DownloadFiles, AFolderOnAnotherFileSystemGetsACopyThatReplacesNothing) {
    test::TempDir temp;
    const fs::path other = "/dev/shm";
    struct stat here {};
    struct stat there {};
    if (stat(temp.Path().c_str(), &here) != 0 || stat(other.c_str(), &there) != 0 ||
        here.st_dev == there.st_dev) {
        GTEST_SKIP() << "no second file system to move to";
    }
    const fs::path folder = other / ("korvana-" + temp.Path().filename().string());
    fs::create_directories(folder);
    test::WriteText(folder / "song.mp3", "old");
    test::WriteText(temp.Path() / "incoming", "new");
    const auto placed = MoveToFreeName(temp.Path() / "incoming", folder, "song.mp3");
    const std::string kept = test::ReadText(folder / "song.mp3");
    const std::string copied = placed ? test::ReadText(*placed) : std::string();
    fs::remove_all(folder);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->filename(), "song (1).mp3");
    EXPECT_EQ(kept, "old");
    EXPECT_EQ(copied, "new");
    EXPECT_FALSE(fs::exists(temp.Path() / "incoming"));
}

}  // namespace
}  // namespace korvana
