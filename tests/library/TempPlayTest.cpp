#include "library/TempPlay.h"

#include <gtest/gtest.h>

#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

class TempPlayTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
    fs::path library_ = dir_.Path() / "Downloads";
    fs::path tempPlay_ = dir_.Path() / "TempPlay";
};

TEST_F(TempPlayTest, TheCopyOutlivesTheLibraryFileAndClearingLeavesTheLibraryAlone) {
    test::WriteText(library_ / "song.mp3", "audio");
    const auto copy = CopyIntoTempPlay(tempPlay_, (library_ / "song.mp3").string());
    ASSERT_TRUE(copy);
    EXPECT_EQ(*copy, tempPlay_ / "song.mp3");
    EXPECT_EQ(test::ReadText(*copy), "audio");
    // On one disk no byte is copied, however long the track.
    EXPECT_EQ(fs::hard_link_count(*copy), 2u);

    // The user deletes the library file while its copy plays.
    fs::remove(library_ / "song.mp3");
    EXPECT_EQ(test::ReadText(*copy), "audio");

    test::WriteText(library_ / "other.mp3", "kept");
    ASSERT_TRUE(CopyIntoTempPlay(tempPlay_, (library_ / "other.mp3").string()));
    ClearTempPlay(tempPlay_);
    EXPECT_TRUE(fs::is_empty(tempPlay_));
    EXPECT_EQ(test::ReadText(library_ / "other.mp3"), "kept");
}

TEST_F(TempPlayTest, ALinkedLibraryFileIsCopiedThroughAndALinkInTheFolderIsReplaced) {
    test::WriteText(dir_.Path() / "elsewhere" / "real.mp3", "real audio");
    fs::create_directories(library_);
    fs::create_symlink("../elsewhere/real.mp3", library_ / "linked.mp3");
    const auto copy = CopyIntoTempPlay(tempPlay_, (library_ / "linked.mp3").string());
    ASSERT_TRUE(copy);
    EXPECT_FALSE(fs::is_symlink(*copy));
    EXPECT_EQ(test::ReadText(*copy), "real audio");

    // A link already in the folder under the same name is not written
    // through to the file it points at.
    test::WriteText(dir_.Path() / "victim.txt", "untouched");
    fs::create_symlink(dir_.Path() / "victim.txt", tempPlay_ / "song.mp3");
    test::WriteText(library_ / "song.mp3", "audio");
    ASSERT_TRUE(CopyIntoTempPlay(tempPlay_, (library_ / "song.mp3").string()));
    EXPECT_EQ(test::ReadText(dir_.Path() / "victim.txt"), "untouched");
    EXPECT_EQ(test::ReadText(tempPlay_ / "song.mp3"), "audio");
}

TEST_F(TempPlayTest, NothingToCopyGivesNothing) {
    EXPECT_FALSE(CopyIntoTempPlay(tempPlay_, (library_ / "missing.mp3").string()));
    EXPECT_FALSE(CopyIntoTempPlay(tempPlay_, ""));
    EXPECT_FALSE(CopyIntoTempPlay({}, (library_ / "song.mp3").string()));
}

}  // namespace
}  // namespace korvana
