#include "app/FolderClearer.h"
#include "app/Folders.h"
#include "platform/InstallFolder.h"
#include "platform/SingleInstance.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

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

TEST(FolderClearer, EmptiesNestedTreeAndKeepsFolders) {
    test::TempDir dir;
    const fs::path incomplete = dir.Path() / "Incomplete";
    WriteFile(incomplete / "a.mp3");
    WriteFile(incomplete / "one" / "b.mp3");
    WriteFile(incomplete / "one" / "two" / "c.mp3");
    WriteFile(incomplete / "one" / "two" / "d.mp3");
    fs::create_directories(incomplete / "empty");

    FolderClearer clearer(incomplete);
    int steps = 0;
    while (!clearer.Step(1)) {
        ++steps;
    }
    EXPECT_GT(steps, 3);  // one entry per step: the work really is spread out
    EXPECT_TRUE(fs::is_directory(incomplete / "one" / "two"));
    EXPECT_TRUE(fs::is_directory(incomplete / "empty"));
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(incomplete)) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, 0u);
}

TEST(FolderClearer, NeverFollowsLinksOutOfTheFolder) {
    test::TempDir dir;
    const fs::path outside = dir.Path() / "Music";
    WriteFile(outside / "keep.mp3");
    const fs::path incomplete = dir.Path() / "Incomplete";
    fs::create_directories(incomplete);
    fs::create_directory_symlink(outside, incomplete / "link");

    FolderClearer::ClearAll(incomplete);
    EXPECT_TRUE(fs::exists(outside / "keep.mp3"));
    EXPECT_FALSE(fs::exists(incomplete / "link"));
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

}  // namespace
}  // namespace korvana
