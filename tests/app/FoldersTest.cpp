#include "app/FolderClearer.h"
#include "app/Folders.h"
#include "platform/InstallFolder.h"
#include "platform/SingleInstance.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace korvana {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "partial";
}

TEST(DownloadsFolder, PathValueRules) {
    test::MemorySettings settings;
    const fs::path install = "/opt/korvana";
    EXPECT_EQ(GetDownloadsFolder(install, settings), install / "Downloads");

    settings.values["Path"] = "/home/me/Music";
    EXPECT_EQ(GetDownloadsFolder(install, settings), "/home/me/Music");

    settings.values["Path"] = "/" + std::string(kMaxPathValueBytes - 1, 'a');
    EXPECT_EQ(GetDownloadsFolder(install, settings), settings.values["Path"]);

    settings.values["Path"] = "/" + std::string(300, 'a');  // longer than the 260-byte buffer
    EXPECT_EQ(GetDownloadsFolder(install, settings), install / "Downloads");

    settings.values["Path"] = "";
    EXPECT_EQ(GetDownloadsFolder(install, settings), install / "Downloads");
}

TEST(DownloadsFolder, IncompleteStaysUnderInstallWhenPathMoves) {
    test::MemorySettings settings;
    settings.values["Path"] = "/data/music";
    const Folders folders = MakeFolders("/opt/korvana", settings);
    EXPECT_EQ(folders.downloads, "/data/music");
    EXPECT_EQ(folders.incomplete, "/opt/korvana/Incomplete");
    EXPECT_EQ(folders.tempPlay, "/opt/korvana/TempPlay");
    EXPECT_EQ(folders.core, "/opt/korvana/mldonkey");
}

TEST(InstallFolder, ChoiceOrder) {
    InstallFolderFacts facts;
    facts.executableFolder = "/opt/korvana";
    facts.executableFolderWritable = true;
    facts.xdgDataHome = "/home/me/.data";
    facts.home = "/home/me";
    EXPECT_EQ(ChooseInstallFolder(facts), "/opt/korvana");

    facts.executableFolderWritable = false;
    EXPECT_EQ(ChooseInstallFolder(facts), "/home/me/.data/korvana");

    facts.xdgDataHome.reset();
    EXPECT_EQ(ChooseInstallFolder(facts), "/home/me/.local/share/korvana");

    facts.korvanaHome = "/srv/k";
    EXPECT_EQ(ChooseInstallFolder(facts), "/srv/k");
}

TEST(FolderClearer, RemovesOnlyItsOwnIncompleteFiles) {
    test::TempDir dir;
    const fs::path incomplete = dir.Path() / "Incomplete";
    WriteFile(incomplete / "a.mp3.korvana-part");
    WriteFile(incomplete / "b.mp3.korvana-part");
    WriteFile(incomplete / "c.mp3.korvana-part");
    WriteFile(incomplete / "mine.mp3");
    WriteFile(incomplete / ".korvana-part");
    WriteFile(incomplete / "sub" / "d.mp3.korvana-part");

    FolderClearer clearer(incomplete);
    int steps = 0;
    while (!clearer.Step(1)) {
        ++steps;
    }
    EXPECT_GT(steps, 3);  // one entry per step: the work really is spread out
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(incomplete)) {
        left.push_back(fs::relative(entry.path(), incomplete).string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".korvana-part", "mine.mp3", "sub",
                                              "sub/d.mp3.korvana-part"}));
}

TEST(FolderClearer, NeverFollowsLinks) {
    test::TempDir dir;
    const fs::path outside = dir.Path() / "Music";
    WriteFile(outside / "keep.mp3.korvana-part");
    const fs::path incomplete = dir.Path() / "Incomplete";
    fs::create_directories(incomplete);
    fs::create_directory_symlink(outside, incomplete / "folder.korvana-part");
    fs::create_symlink(outside / "keep.mp3.korvana-part", incomplete / "file.korvana-part");

    FolderClearer::ClearAll(incomplete);
    EXPECT_TRUE(fs::exists(outside / "keep.mp3.korvana-part"));
    EXPECT_TRUE(fs::is_symlink(incomplete / "folder.korvana-part"));
    EXPECT_TRUE(fs::is_symlink(incomplete / "file.korvana-part"));
}

TEST(FolderClearer, AnIncompleteFolderThatIsALinkIsLeftAlone) {
    test::TempDir dir;
    const fs::path outside = dir.Path() / "Music";
    WriteFile(outside / "keep.mp3.korvana-part");
    WriteFile(outside / "song.mp3");
    const fs::path incomplete = dir.Path() / "Incomplete";
    fs::create_directory_symlink(outside, incomplete);

    FolderClearer::ClearAll(incomplete);
    EXPECT_TRUE(fs::exists(outside / "keep.mp3.korvana-part"));
    EXPECT_TRUE(fs::exists(outside / "song.mp3"));
}

TEST(FolderClearer, MissingOrEmptyPathIsDone) {
    test::TempDir dir;
    EXPECT_TRUE(FolderClearer(dir.Path() / "absent").Done());
    EXPECT_TRUE(FolderClearer("").Done());
}

TEST(SingleInstance, SecondHolderIsRefusedUntilFirstGoes) {
    test::TempDir dir;
    const fs::path lock = dir.Path() / "app.lock";
    auto first = std::make_unique<SingleInstance>(lock);
    EXPECT_TRUE(first->IsFirst());
    EXPECT_FALSE(SingleInstance(lock).IsFirst());
    first.reset();
    EXPECT_TRUE(SingleInstance(lock).IsFirst());
}

// A second copy on the same install folder is refused even when its
// session has another runtime folder: both would work on the same
// Incomplete folder.
TEST(SingleInstance, TheLockBelongsToTheInstallFolder) {
    test::TempDir dir;
    const fs::path install = dir.Path() / "install";
    const fs::path otherInstall = dir.Path() / "other";
    fs::create_directories(install);
    fs::create_directories(otherInstall);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved != nullptr ? saved : "";

    setenv("XDG_RUNTIME_DIR", (dir.Path() / "run1").c_str(), 1);
    SingleInstance first(SingleInstance::DefaultLockFile(install));
    setenv("XDG_RUNTIME_DIR", (dir.Path() / "run2").c_str(), 1);
    const bool secondIsFirst = SingleInstance(SingleInstance::DefaultLockFile(install)).IsFirst();
    const bool otherIsFirst =
        SingleInstance(SingleInstance::DefaultLockFile(otherInstall)).IsFirst();
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    EXPECT_TRUE(first.IsFirst());
    EXPECT_FALSE(secondIsFirst);
    EXPECT_TRUE(otherIsFirst);
}

}  // namespace
}  // namespace korvana
