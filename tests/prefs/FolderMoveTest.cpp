#include "prefs/FolderMove.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <stdlib.h>
#include <sys/stat.h>

namespace korvana {
namespace {

namespace fs = std::filesystem;

TEST(FolderMove, MovesFilesAndNestedFolders) {
    test::TempDir dir;
    const fs::path from = dir.Path() / "old";
    const fs::path to = dir.Path() / "new";
    test::WriteText(from / "a.mp3", "a");
    test::WriteText(from / "Album" / "Disc 1" / "b.mp3", "b");
    fs::create_directories(from / "Empty");
    fs::create_directories(to);

    const MoveReport report = MoveFolderContents(from, to);

    EXPECT_TRUE(report.leftBehind.empty());
    EXPECT_EQ(test::ReadText(to / "a.mp3"), "a");
    EXPECT_EQ(test::ReadText(to / "Album" / "Disc 1" / "b.mp3"), "b");
    EXPECT_TRUE(fs::is_directory(to / "Empty"));
    EXPECT_TRUE(fs::is_empty(from));
    EXPECT_EQ(LeftBehindMessage(report, from), "");
}

TEST(FolderMove, NeverReplacesAndReportsWhatStayed) {
    test::TempDir dir;
    const fs::path from = dir.Path() / "old";
    const fs::path to = dir.Path() / "new";
    test::WriteText(from / "same.mp3", "old copy");
    test::WriteText(from / "other.mp3", "other");
    test::WriteText(from / "Album" / "same.mp3", "old album copy");
    test::WriteText(from / "Album" / "new.mp3", "new in album");
    test::WriteText(to / "same.mp3", "kept");
    test::WriteText(to / "Album" / "same.mp3", "kept in album");
    test::WriteText(to / "Taken", "a file where a folder would go");
    test::WriteText(from / "Taken" / "inside.mp3", "inside");

    int itemsDone = 0;
    const MoveReport report = MoveFolderContents(from, to, [&itemsDone] { ++itemsDone; });
    // other.mp3 and Album/new.mp3 moved, three files left behind.
    EXPECT_EQ(itemsDone, 5);

    EXPECT_EQ(test::ReadText(to / "same.mp3"), "kept");
    EXPECT_EQ(test::ReadText(to / "Album" / "same.mp3"), "kept in album");
    EXPECT_EQ(test::ReadText(to / "Album" / "new.mp3"), "new in album");
    EXPECT_EQ(test::ReadText(to / "other.mp3"), "other");
    EXPECT_EQ(test::ReadText(from / "same.mp3"), "old copy");
    EXPECT_EQ(test::ReadText(from / "Album" / "same.mp3"), "old album copy");
    EXPECT_EQ(test::ReadText(from / "Taken" / "inside.mp3"), "inside");
    std::vector<fs::path> left = report.leftBehind;
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<fs::path>{from / "Album" / "same.mp3",
                                           from / "Taken" / "inside.mp3", from / "same.mp3"}));
    EXPECT_EQ(LeftBehindMessage(report, from),
              "3 files could not be moved to the new downloads folder (a file of the same name is "
              "already there, or moving failed). They are still in " +
                  from.string() + ".");
}

TEST(FolderMove, NewFolderInsideTheOldOneStaysInPlace) {
    test::TempDir dir;
    const fs::path from = dir.Path() / "old";
    const fs::path to = from / "Music" / "Downloads";
    test::WriteText(from / "a.mp3", "a");
    test::WriteText(from / "Music" / "b.mp3", "b");
    test::WriteText(to / "c.mp3", "c");

    const MoveReport report = MoveFolderContents(from, to);

    EXPECT_TRUE(report.leftBehind.empty());
    EXPECT_EQ(test::ReadText(to / "a.mp3"), "a");
    EXPECT_EQ(test::ReadText(to / "Music" / "b.mp3"), "b");
    EXPECT_EQ(test::ReadText(to / "c.mp3"), "c");
    EXPECT_FALSE(fs::exists(from / "a.mp3"));
    EXPECT_FALSE(fs::exists(from / "Music" / "b.mp3"));
}

TEST(FolderMove, NothingToMove) {
    test::TempDir dir;
    const fs::path from = dir.Path() / "old";
    test::WriteText(from / "a.mp3", "a");
    EXPECT_TRUE(MoveFolderContents(dir.Path() / "missing", from).leftBehind.empty());
    EXPECT_TRUE(MoveFolderContents(from, from.string() + "/").leftBehind.empty());
    EXPECT_EQ(test::ReadText(from / "a.mp3"), "a");
}

// A folder on another file system than the temporary folder, when the
// machine has one (a RAM disk at /dev/shm).
fs::path OtherDeviceFolder(const fs::path& near) {
    struct stat here {};
    struct stat there {};
    if (stat(near.c_str(), &here) != 0 || stat("/dev/shm", &there) != 0 ||
        here.st_dev == there.st_dev) {
        return {};
    }
    std::string pattern = "/dev/shm/korvana-move-XXXXXX";
    return mkdtemp(pattern.data()) == nullptr ? fs::path() : fs::path(pattern);
}

TEST(FolderMove, AcrossFileSystemsCopiesThenRemoves) {
    test::TempDir dir;
    const fs::path to = OtherDeviceFolder(dir.Path());
    if (to.empty()) {
        GTEST_SKIP() << "no second file system to move to";
    }
    const fs::path from = dir.Path() / "old";
    test::WriteText(from / "a.mp3", "a");
    test::WriteText(from / "Album" / "b.mp3", "b");
    test::WriteText(from / "Album" / "taken.mp3", "old");
    test::WriteText(to / "Album" / "taken.mp3", "kept");

    int itemsDone = 0;
    const MoveReport report = MoveFolderContents(from, to, [&itemsDone] { ++itemsDone; });
    // Across disks every file is copied on its own and counted.
    EXPECT_EQ(itemsDone, 3);

    EXPECT_EQ(test::ReadText(to / "a.mp3"), "a");
    EXPECT_EQ(test::ReadText(to / "Album" / "b.mp3"), "b");
    EXPECT_EQ(test::ReadText(to / "Album" / "taken.mp3"), "kept");
    EXPECT_EQ(test::ReadText(from / "Album" / "taken.mp3"), "old");
    EXPECT_FALSE(fs::exists(from / "a.mp3"));
    EXPECT_FALSE(fs::exists(from / "Album" / "b.mp3"));
    EXPECT_EQ(report.leftBehind, (std::vector<fs::path>{from / "Album" / "taken.mp3"}));
    fs::remove_all(to);
}

}  // namespace
}  // namespace korvana
