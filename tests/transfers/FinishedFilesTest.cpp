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
    void AddWeb(const std::string& link, const std::string& name, std::int64_t received,
                std::int64_t size = 100) {
        list.OpenWebDownload(link, name);
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
    AddWeb("http://a.example/1", "music/song.mp3", 100);
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

TEST_F(FinishedFilesTest, ACoreDownloadIsFoundUnderTheNameTheCoreGaveTheFile) {
    PutFile("AC_DC - song.mp3");
    AddCore(3, "AC/DC - song.mp3", 100, kCoreStateDownloaded, 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("AC/DC - song.mp3")), folder.Path() / "AC_DC - song.mp3");
}

// A second download of a name already taken was saved under a numbered
// name; the sizes tell the files apart.
TEST_F(FinishedFilesTest, DownloadsOfTheSameNameFindTheirOwnFiles) {
    PutFile("song.mp3", 100);
    PutFile("song (1).mp3", 200);
    AddWeb("http://a.example/1", "song.mp3", 100, 100);
    AddWeb("http://b.example/1", "song.mp3", 200, 200);
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
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("song.mp3")), std::nullopt);
}

TEST_F(FinishedFilesTest, AFolderOfTheSameNameIsNoFile) {
    std::filesystem::create_directory(folder.Path() / "album");
    AddWeb("http://a.example/1", "album", 100);
    Refresh();
    EXPECT_EQ(board.FinishedFileAt(RowOf("album")), std::nullopt);
}

}  // namespace
}  // namespace korvana::test
