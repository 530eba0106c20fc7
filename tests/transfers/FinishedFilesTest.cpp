#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TransferBoardFixture.h"
#include "tests/support/TempDir.h"
#include "transfers/FinishedFiles.h"
#include "transfers/TransferTexts.h"

namespace korvana::test {
namespace {

class FinishedFilesTest : public TransferBoardTest {
  protected:
    void SetUp() override { downloadsFolder = folder.Path(); }

    // A file of `size` bytes in the downloads folder.
    void PutFile(const std::string& name, std::size_t size = 100) {
        std::ofstream(folder.Path() / name) << std::string(size, 'a');
    }
    // A web download; one that received all its bytes was saved as `saved`
    // in the downloads folder.
    void AddWeb(const std::string& link, const std::string& name, std::int64_t received,
                std::int64_t size = 100, const std::string& saved = {}) {
        list.OpenWebDownload(link, name);
        if (received == size) {
            list.PlaceWebDownload(link, folder.Path() / (saved.empty() ? name : saved));
        }
        list.ReportWebDownload(link, name, received, size, 0);
    }
    int RowOf(const std::string& name) {
        for (std::size_t row = 0; row < shownDownloads.size(); ++row) {
            if (shownDownloads[row].name == name) {
                return static_cast<int>(row);
            }
        }
        return -1;
    }

    TempDir folder;
};

TEST_F(FinishedFilesTest, AFinishedWebDownloadIsFoundUnderItsSavedName) {
    PutFile("song.mp3");
    AddWeb("http://a.example/1", "music/song.mp3", 100, 100, "song.mp3");
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("music/song.mp3")), folder.Path() / "song.mp3");

    EXPECT_EQ(board.OpenMenu(RowOf("music/song.mp3")), kMenuFinishedDownload);
    EXPECT_EQ(board.MenuRowFile(), folder.Path() / "song.mp3");
    const MenuTable menu = TransferMenu(kMenuFinishedDownload);
    ASSERT_FALSE(menu.items.empty());
    EXPECT_EQ(menu.items.front().text, "Show in Folder");
    EXPECT_EQ(menu.items.front().commandId, kCommandShowInFolder);
}

TEST_F(FinishedFilesTest, NothingIsFoundForAnUnfinishedDownloadOrAMissingFile) {
    PutFile("running.mp3");
    AddWeb("http://a.example/1", "running.mp3", 40);
    AddWeb("http://a.example/2", "gone.mp3", 100);
    AddCore(7, "core.mp3", 100, kCoreStateDownloading, 50);
    PutFile("core.mp3");
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("running.mp3")), std::nullopt);
    EXPECT_EQ(board.FinishedFileAt(RowOf("gone.mp3")), std::nullopt);
    EXPECT_EQ(board.FinishedFileAt(RowOf("core.mp3")), std::nullopt);
    EXPECT_EQ(board.OpenMenu(RowOf("gone.mp3")), kMenuEndedDownload);
    EXPECT_EQ(board.MenuRowFile(), std::nullopt);
    EXPECT_EQ(board.FinishedFileAt(-1), std::nullopt);
    EXPECT_EQ(board.FinishedFileAt(99), std::nullopt);
}

// The user's own file of the same name and size is not the download's: the
// download went to a free numbered name beside it.
TEST_F(FinishedFilesTest, AWebDownloadIsFoundWhereItWasSavedNotUnderItsName) {
    PutFile("song.mp3", 100);
    PutFile("song (1).mp3", 100);
    AddWeb("http://a.example/1", "song.mp3", 100, 100, "song (1).mp3");
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("song.mp3")), folder.Path() / "song (1).mp3");

    // Once its file is gone, another file of its name is still not its.
    std::filesystem::remove(folder.Path() / "song (1).mp3");
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("song.mp3")), std::nullopt);
}

// Started again, the download's earlier file is no longer its file.
TEST_F(FinishedFilesTest, AWebDownloadStartedAgainForgetsItsEarlierFile) {
    PutFile("song.mp3", 100);
    AddWeb("http://a.example/1", "song.mp3", 100, 100, "song.mp3");
    list.OpenWebDownload("http://a.example/1", "song.mp3");
    list.ReportWebDownload("http://a.example/1", "song.mp3", 100, 100, 0);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("song.mp3")), std::nullopt);
}

TEST_F(FinishedFilesTest, ACoreDownloadIsFoundUnderTheNameTheCoreGaveTheFile) {
    PutFile("AC_DC - song.mp3");
    AddCore(3, "AC/DC - song.mp3", 100, kCoreStateDownloaded, 100);
    PutFile("_best_ _live_ _1999_.mp3");
    AddCore(4, "<best> \"live\" \\1999\\.mp3", 100, kCoreStateShared, 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("AC/DC - song.mp3")), folder.Path() / "AC_DC - song.mp3");
    EXPECT_EQ(board.FinishedFileAt(RowOf("<best> \"live\" \\1999\\.mp3")),
              folder.Path() / "_best_ _live_ _1999_.mp3");
}

// A downloads folder on a Windows file system: the core also changes the
// characters Windows refuses and trims what Windows drops.
TEST_F(FinishedFilesTest, TheCoreNamesFitTheFileSystemOfItsFolder) {
    const std::string name = "..What? A|B: *live*. ";
    EXPECT_EQ(CoreFileName(name, CoreNameRules::Posix), name);
    EXPECT_EQ(CoreFileName(name, CoreNameRules::Windows), "What_ A_B_ _live_");
    EXPECT_EQ(CoreFileName(name, CoreNameRules::Windows, 2), "What_ A_B_ _live__2");
    PutFile("What_ A_B_ _live_");
    AddCore(5, name, 100, kCoreStateShared, 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf(name)), folder.Path() / "What_ A_B_ _live_");
}

// A name too long for the folder is cut to fit, its ending kept, also once
// numbered.
TEST_F(FinishedFilesTest, ACoreFileWithANameTooLongForTheFolderIsFound) {
    const std::string name = std::string(300, 'x') + ".live.mp3";
    const std::string cut = std::string(255 - 9, 'x') + ".live.mp3";
    EXPECT_EQ(CoreFileName(name, CoreNameRules::Posix, 0, 255), cut);
    EXPECT_EQ(CoreFileName(name, CoreNameRules::Posix, 1, 255),
              std::string(255 - 11, 'x') + ".live.mp3_1");
    EXPECT_EQ(CoreFileName("short.mp3", CoreNameRules::Posix, 0, 255), "short.mp3");
    EXPECT_EQ(CoreFileName(std::string(300, 'y'), CoreNameRules::Posix, 0, 255),
              std::string(255, 'y'));
    PutFile(cut);
    AddCore(6, name, 100, kCoreStateShared, 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf(name)), folder.Path() / cut);
}

// A second download of a name already taken was saved under a numbered
// name; for the core's downloads the sizes tell the files apart.
TEST_F(FinishedFilesTest, DownloadsOfTheSameNameFindTheirOwnFiles) {
    PutFile("song.mp3", 100);
    PutFile("song (1).mp3", 200);
    AddWeb("http://a.example/1", "song.mp3", 100, 100, "song.mp3");
    AddWeb("http://b.example/1", "song.mp3", 200, 200, "song (1).mp3");
    PutFile("core.mp3", 300);
    PutFile("core.mp3_1", 400);
    AddCore(1, "core.mp3", 400, kCoreStateShared, 400);
    Refresh();
    const auto row = [this](const char* link) {
        for (std::size_t i = 0; i < shownDownloads.size(); ++i) {
            if (shownDownloads[i].key.Link() == link) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    EXPECT_EQ(board.FinishedFileAt(row("http://a.example/1")), folder.Path() / "song.mp3");
    EXPECT_EQ(board.FinishedFileAt(row("http://b.example/1")), folder.Path() / "song (1).mp3");
    EXPECT_EQ(board.FinishedFileAt(RowOf("core.mp3")), folder.Path() / "core.mp3_1");
}

TEST_F(FinishedFilesTest, AFileOfAnotherSizeIsAnotherDownloadsFile) {
    PutFile("song.mp3", 99);
    AddWeb("http://a.example/1", "song.mp3", 100);
    PutFile("core.mp3", 99);
    AddCore(2, "core.mp3", 100, kCoreStateShared, 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("song.mp3")), std::nullopt);
    EXPECT_EQ(board.FinishedFileAt(RowOf("core.mp3")), std::nullopt);
}

TEST_F(FinishedFilesTest, AFolderOfTheSameNameIsNoFile) {
    std::filesystem::create_directory(folder.Path() / "album");
    AddWeb("http://a.example/1", "album", 100);
    AddCore(2, "album", 100, kCoreStateShared, 100);
    Refresh();
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(board.FinishedFileAt(row), std::nullopt);
    }
}

}  // namespace
}  // namespace korvana::test
