#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "library/LibraryScanner.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

class LibraryScannerTest : public ::testing::Test {
  protected:
    void Write(const fs::path& relative, std::size_t bytes = 10) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << std::string(bytes, 'x');
    }
    // Dates every folder and file back a minute, so that the scanner counts
    // the tree as settled and may trust the folders' times from now on.
    void Settle() {
        const auto past = fs::file_time_type::clock::now() - std::chrono::minutes(1);
        for (const auto& entry : fs::recursive_directory_iterator(root_)) {
            if (!entry.is_symlink()) {
                fs::last_write_time(entry.path(), past);
            }
        }
        fs::last_write_time(root_, past);
    }
    std::vector<std::string> Paths(const LibraryScan& scan) const {
        std::vector<std::string> paths;
        for (const LibraryEntry& entry : scan.entries) {
            paths.push_back(fs::path(entry.fullPath).lexically_relative(root_).string());
        }
        return paths;
    }

    TempDir dir_;
    fs::path root_ = dir_.Path() / "Downloads";
    fs::path outside_ = dir_.Path() / "elsewhere";
};

TEST_F(LibraryScannerTest, ListsEveryFileDepthFirstInNameOrder) {
    Write("b.mp3", 7);
    Write("a/song.mp3");
    Write("a/inner/song.mp3");
    Write("c/song.mp3");
    Write("notes.txt");
    LibraryScanner scanner(root_);
    const LibraryScan scan = scanner.Scan();
    EXPECT_TRUE(scan.changed);
    EXPECT_EQ(Paths(scan), (std::vector<std::string>{"a/inner/song.mp3", "a/song.mp3", "b.mp3",
                                                     "c/song.mp3", "notes.txt"}));
    EXPECT_EQ(scan.entries[0].fileName, "song.mp3");
    EXPECT_EQ(scan.entries[0].fullPath, (root_ / "a" / "inner" / "song.mp3").string());
    EXPECT_EQ(scan.entries[2].sizeText, "7");
}

TEST_F(LibraryScannerTest, LinksNeverLeadOutOfTheFolder) {
    Write("real.mp3");
    Write("folder/inside.mp3");
    fs::create_directories(outside_);
    std::ofstream(outside_ / "secret.mp3") << "x";
    fs::create_symlink(outside_ / "secret.mp3", root_ / "to-outside-file.mp3");
    fs::create_directory_symlink(outside_, root_ / "to-outside-folder");
    fs::create_directory_symlink(root_ / "folder", root_ / "to-inside-folder");
    fs::create_directory_symlink(root_, root_ / "folder" / "loop");
    fs::create_symlink(root_ / "real.mp3", root_ / "to-inside-file.mp3");
    fs::create_symlink(root_ / "missing.mp3", root_ / "dangling.mp3");
    ASSERT_EQ(mkfifo((root_ / "pipe").c_str(), 0600), 0);

    LibraryScanner scanner(root_);
    EXPECT_EQ(Paths(scanner.Scan()),
              (std::vector<std::string>{"folder/inside.mp3", "real.mp3", "to-inside-file.mp3"}));
}

TEST_F(LibraryScannerTest, UnchangedTreeReportsNoChangeAndChangesAreSeen) {
    Write("x/one.mp3");
    Write("x/y/two.mp3");
    Settle();
    LibraryScanner scanner(root_);
    ASSERT_EQ(scanner.Scan().entries.size(), 2u);
    const LibraryScan quiet = scanner.Scan();
    EXPECT_FALSE(quiet.changed);
    EXPECT_TRUE(quiet.entries.empty());

    Write("x/y/three.mp3");
    EXPECT_EQ(Paths(scanner.Scan()),
              (std::vector<std::string>{"x/one.mp3", "x/y/three.mp3", "x/y/two.mp3"}));

    fs::remove_all(root_ / "x" / "y");
    const LibraryScan removed = scanner.Scan();
    EXPECT_TRUE(removed.changed);
    EXPECT_EQ(Paths(removed), (std::vector<std::string>{"x/one.mp3"}));
}

// What a folder watcher must follow: the folder and every folder below it
// (links to folders are not followed, so not watched either).
TEST_F(LibraryScannerTest, AChangedScanNamesEveryFolderItWalked) {
    Write("x/one.mp3");
    Write("x/y/two.mp3");
    Write("z/three.mp3");
    fs::create_directory_symlink(root_ / "x", root_ / "link");
    LibraryScanner scanner(root_);
    const LibraryScan first = scanner.Scan();
    const auto under = [&](const char* relative) { return (root_ / relative).string(); };
    EXPECT_EQ(first.folders,
              (std::vector<std::string>{root_.string(), under("x"), under("x/y"), under("z")}));
    EXPECT_TRUE(scanner.Scan().folders.empty());  // nothing came or went

    fs::remove_all(root_ / "z");
    EXPECT_EQ(scanner.Scan().folders,
              (std::vector<std::string>{root_.string(), under("x"), under("x/y")}));
}

TEST_F(LibraryScannerTest, FreshFoldersAreReadAgainUntilTheySettle) {
    Write("fresh.mp3", 1);
    LibraryScanner scanner(root_);
    scanner.Scan();
    // Rewritten in place: the folder's time need not move, the file's does.
    Write("fresh.mp3", 5);
    const LibraryScan scan = scanner.Scan();
    EXPECT_FALSE(scan.changed);  // no file came or went
    ASSERT_EQ(scan.resized.size(), 1u);
    EXPECT_EQ(scan.resized[0].fullPath, (root_ / "fresh.mp3").string());
    EXPECT_EQ(scan.resized[0].size, 5);
}

// A download grows in a folder that holds many other files: the folder is
// not read again, only the growing file is looked at.
TEST_F(LibraryScannerTest, AGrowingFileIsReportedByItsSizeAlone) {
    Write("album/old.mp3", 3);
    Settle();
    LibraryScanner scanner(root_);
    ASSERT_TRUE(scanner.Scan().changed);
    Write("album/growing.mp3", 1);
    fs::last_write_time(root_ / "album",
                        fs::file_time_type::clock::now() - std::chrono::minutes(1));
    const LibraryScan arrived = scanner.Scan();
    ASSERT_TRUE(arrived.changed);
    EXPECT_EQ(Paths(arrived), (std::vector<std::string>{"album/growing.mp3", "album/old.mp3"}));

    std::ofstream(root_ / "album" / "growing.mp3", std::ios::app) << "more";
    const LibraryScan grown = scanner.Scan();
    EXPECT_FALSE(grown.changed);
    EXPECT_TRUE(grown.entries.empty());
    ASSERT_EQ(grown.resized.size(), 1u);
    EXPECT_EQ(grown.resized[0].fullPath, (root_ / "album" / "growing.mp3").string());
    EXPECT_EQ(grown.resized[0].size, 5);

    const LibraryScan quiet = scanner.Scan();
    EXPECT_FALSE(quiet.changed);
    EXPECT_TRUE(quiet.resized.empty());
}

// A settled file is not looked at again while its folder stands still, but
// another file moved in under its name is.
TEST_F(LibraryScannerTest, AFileReplacedUnderItsNameShowsItsOwnSize) {
    Write("a.mp3", 3);
    Write("b.mp3", 3);
    Settle();
    LibraryScanner scanner(root_);
    scanner.Scan();
    fs::create_directories(outside_);
    std::ofstream(outside_ / "a.mp3") << std::string(9, 'y');
    fs::last_write_time(outside_ / "a.mp3",
                        fs::file_time_type::clock::now() - std::chrono::minutes(1));
    fs::rename(outside_ / "a.mp3", root_ / "a.mp3");
    const LibraryScan scan = scanner.Scan();
    EXPECT_FALSE(scan.changed);
    ASSERT_EQ(scan.resized.size(), 1u);
    EXPECT_EQ(scan.resized[0].fullPath, (root_ / "a.mp3").string());
    EXPECT_EQ(scan.resized[0].size, 9);
}

// Tag editors save a copy and rename it over the file, often at the same
// size: the new time alone tells that its tags may have changed.
TEST_F(LibraryScannerTest, AFileReplacedAtTheSameSizeIsReportedByItsTime) {
    Write("a.mp3", 3);
    Settle();
    LibraryScanner scanner(root_);
    const LibraryScan first = scanner.Scan();
    ASSERT_EQ(first.entries.size(), 1u);
    fs::create_directories(outside_);
    std::ofstream(outside_ / "a.mp3") << "zzz";
    fs::last_write_time(outside_ / "a.mp3",
                        fs::file_time_type::clock::now() - std::chrono::seconds(30));
    fs::rename(outside_ / "a.mp3", root_ / "a.mp3");
    const LibraryScan scan = scanner.Scan();
    EXPECT_FALSE(scan.changed);
    ASSERT_EQ(scan.resized.size(), 1u);
    EXPECT_EQ(scan.resized[0].size, 3);
    EXPECT_GT(scan.resized[0].modified, first.entries[0].modified);
}

// A tag editor that saves into the file keeps its inode, its size and its
// folder's time: only a look at every file sees its new time.
TEST_F(LibraryScannerTest, AFileRewrittenInPlaceIsSeenWhenEveryFileIsLookedAt) {
    Write("a.mp3", 3);
    Write("sub/b.mp3", 4);
    Settle();
    LibraryScanner scanner(root_);
    const LibraryScan first = scanner.Scan();
    ASSERT_EQ(first.entries.size(), 2u);
    const auto inode = [](const fs::path& file) {
        struct stat info {};
        EXPECT_EQ(stat(file.c_str(), &info), 0);
        return info.st_ino;
    };
    const auto before = inode(root_ / "sub" / "b.mp3");
    std::fstream(root_ / "sub" / "b.mp3", std::ios::in | std::ios::out) << "zz";
    fs::last_write_time(root_ / "sub" / "b.mp3",
                        fs::file_time_type::clock::now() - std::chrono::seconds(30));
    ASSERT_EQ(inode(root_ / "sub" / "b.mp3"), before);
    ASSERT_EQ(fs::file_size(root_ / "sub" / "b.mp3"), 4u);

    const LibraryScan changes = scanner.Scan();
    EXPECT_FALSE(changes.changed);
    EXPECT_TRUE(changes.resized.empty());

    const LibraryScan every = scanner.Scan(LibraryScanner::Look::EveryFile);
    EXPECT_FALSE(every.changed);
    ASSERT_EQ(every.resized.size(), 1u);
    EXPECT_EQ(every.resized[0].fullPath, (root_ / "sub" / "b.mp3").string());
    EXPECT_GT(every.resized[0].modified, first.entries[1].modified);
    EXPECT_TRUE(scanner.Scan(LibraryScanner::Look::EveryFile).resized.empty());
}

// A folder read again because a file came still stats the files it knew
// when every file is looked at.
TEST_F(LibraryScannerTest, AFolderReadAgainStatsItsKnownFilesWhenEveryFileIsLookedAt) {
    Write("a.mp3", 3);
    Settle();
    LibraryScanner scanner(root_);
    const LibraryScan first = scanner.Scan();
    std::fstream(root_ / "a.mp3", std::ios::in | std::ios::out) << "q";
    fs::last_write_time(root_ / "a.mp3", fs::file_time_type::clock::now() - std::chrono::hours(1));
    Write("b.mp3", 5);
    const LibraryScan scan = scanner.Scan(LibraryScanner::Look::EveryFile);
    ASSERT_TRUE(scan.changed);
    ASSERT_EQ(scan.entries.size(), 2u);
    EXPECT_LT(scan.entries[0].modified, first.entries[0].modified);
}

TEST_F(LibraryScannerTest, EmptyOrMissingFolderListsNothing) {
    LibraryScanner none("");
    EXPECT_TRUE(none.Scan().entries.empty());
    LibraryScanner missing(root_ / "nowhere");
    EXPECT_TRUE(missing.Scan().entries.empty());
    EXPECT_FALSE(missing.Scan().changed);

    Write("late.mp3");
    LibraryScanner scanner(root_);
    scanner.Scan();
    fs::remove_all(root_);
    const LibraryScan gone = scanner.Scan();
    EXPECT_TRUE(gone.changed);
    EXPECT_TRUE(gone.entries.empty());
}

}  // namespace
}  // namespace korvana::test
