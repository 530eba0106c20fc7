#include "TransferBoardFixture.h"

namespace korvana {
namespace {

using test::TransferBoardTest;
using Lines = std::vector<std::string>;

const std::string kLink = "http://127.0.0.1:8080/files/Song.mp3";
const TransferKey kWeb = TransferKey::Web(kLink);
const TransferKey kCore = TransferKey::Core(12);

TEST(TransferMenuChoice, ByTheStatusAndKindOfTheRowUnderTheCursor) {
    EXPECT_EQ(ChooseTransferMenu(-1, "", {}), kMenuNoDownload);
    EXPECT_EQ(ChooseTransferMenu(0, "Downloading", kWeb), kMenuWebDownload);
    EXPECT_EQ(ChooseTransferMenu(0, "Contacting server", kWeb), kMenuWebDownload);
    EXPECT_EQ(ChooseTransferMenu(0, "downloading", kWeb), kMenuEndedDownload);  // exact
    EXPECT_EQ(ChooseTransferMenu(0, "Finished", kWeb), kMenuEndedDownload);
    EXPECT_EQ(ChooseTransferMenu(0, "Error - Connection Timeout", kWeb), kMenuEndedDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "File Downloading", kCore), kMenuCoreDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "FILE DOWNLOADING", kCore), kMenuCoreDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "Download Paused", kCore), kMenuPausedDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "download paused", kCore), kMenuPausedDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "File Queued", kCore), kMenuEndedDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "File Shared", kCore), kMenuEndedDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "", kCore), kMenuEndedDownload);
    // The kind is the key's, not what its text looks like.
    EXPECT_EQ(ChooseTransferMenu(2, "File Downloading", TransferKey::Core(0)), kMenuCoreDownload);
    EXPECT_EQ(ChooseTransferMenu(2, "Downloading", TransferKey::Web("7")), kMenuWebDownload);
}

Lines Items(const MenuTable& menu) {
    Lines items;
    for (const MenuItem& item : menu.items) {
        items.push_back(item.separator ? "-" : std::to_string(item.commandId) + " " + item.text);
    }
    return items;
}

TEST(TransferMenuChoice, EachMenuHoldsItsCommands) {
    EXPECT_EQ(Items(TransferMenu(kMenuWebDownload)),
              (Lines{"32774 Cancel Download", "32773 Cancel All Downloads", "-",
                     "32775 Clear Completed"}));
    EXPECT_EQ(Items(TransferMenu(kMenuNoDownload)),
              (Lines{"32773 Cancel All Downloads", "-", "32775 Clear Completed"}));
    EXPECT_EQ(Items(TransferMenu(kMenuEndedDownload)),
              (Lines{"32776 Clear Download", "32773 Cancel All Downloads", "-",
                     "32775 Clear Completed"}));
    EXPECT_EQ(Items(TransferMenu(kMenuCoreDownload)),
              (Lines{"32797 Pause Download", "32774 Cancel Download", "32773 Cancel All Downloads",
                     "-", "32775 Clear Completed"}));
    EXPECT_EQ(Items(TransferMenu(kMenuPausedDownload)),
              (Lines{"32798 Resume Download", "32774 Cancel Download", "32773 Cancel All Downloads",
                     "-", "32775 Clear Completed"}));
}

// Each report, row and command reaches its own download.
TEST_F(TransferBoardTest, CoreFile7AndALinkThatReads7AreTwoDownloads) {
    AddCore(7, "core.mp3", 100, 0, 10);
    list.OpenWebDownload("7", "web.mp3");
    list.ReportWebDownload("7", "web.mp3", 20, 100, 0);
    list.UpdateDownloadProgress(7, 30, 1024.0);
    Tick();
    ASSERT_EQ(shownDownloads.size(), 2u);
    EXPECT_EQ(Row(0), (Lines{"web.mp3", "20", "0.02 KB/s", "", "100", "Downloading", "7", "20"}));
    EXPECT_EQ(Row(1),
              (Lines{"core.mp3", "30", " 1.00 KB/s", "", "100", "File Downloading", "7", "30"}));
    EXPECT_TRUE(list.HasWebDownload("7"));
    EXPECT_FALSE(list.HasCoreDownload("web.mp3"));

    EXPECT_EQ(board.OpenMenu(0), kMenuWebDownload);
    board.RunCommand(kCommandCancel);
    EXPECT_EQ(web.stopped, Lines{"7"});
    EXPECT_TRUE(core.sent.empty());
    EXPECT_EQ(board.OpenMenu(1), kMenuCoreDownload);
    board.RunCommand(kCommandCancel);
    EXPECT_EQ(core.sent, Lines{"cancel 7"});
    Refresh();
    EXPECT_EQ(Statuses(), (Lines{"User Cancelled", "Download Cancelled"}));
}

TEST_F(TransferBoardTest, CoreFile0IsACoreDownload) {
    AddCore(0, "zero.mp3", 100, 0, 10);
    Tick();
    EXPECT_EQ(Cell(0, kDownloadStatus), "File Downloading");
    EXPECT_EQ(Cell(0, kDownloadLink), "0");
    EXPECT_EQ(list.activeWebDownloads(), 0);
    EXPECT_EQ(board.OpenMenu(0), kMenuCoreDownload);
    board.RunCommand(kCommandPause);
    EXPECT_EQ(core.sent, Lines{"pause 0"});
    Refresh();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Paused");
}

TEST_F(TransferBoardTest, AClickBelowTheRowsForgetsTheRow) {
    AddCore(5, "a.mp3", 100);
    Tick();
    EXPECT_EQ(board.OpenMenu(0), kMenuCoreDownload);
    EXPECT_EQ(board.MenuRow(), 0);
    EXPECT_EQ(board.OpenMenu(1), kMenuNoDownload);
    EXPECT_EQ(board.MenuRow(), -1);
    board.RunCommand(kCommandCancel);
    board.RunCommand(kCommandPause);
    EXPECT_TRUE(core.sent.empty());
}

// A finished or shared file is the user's: cancelling it could make the
// core discard it.
TEST_F(TransferBoardTest, CancelAllCancelsOnlyWhatIsStillToArrive) {
    AddCore(1, "one.mp3", 100, 0, 10);
    AddCore(2, "two.mp3", 100, 1, 10);
    AddCore(3, "three.mp3", 100, 3, 100);  // shared
    AddCore(4, "four.mp3", 100, 2, 100);   // downloaded
    AddCore(5, "five.mp3", 100, 7, 0);     // queued
    AddCore(6, "six.mp3", 100, 0, 100);    // complete
    AddCore(7, "seven.mp3", 100, 4, 10);   // cancelled by the core
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 10, 100, 0);
    list.OpenWebDownload(kLink + "?failed", "Failed.mp3");
    list.ReportWebDownload(kLink + "?failed", "Failed.mp3", 0, 0, 2);
    Tick();
    board.OpenMenu(-1);
    board.RunCommand(kCommandCancelAll);
    EXPECT_EQ(core.sent, (Lines{"cancel 5", "cancel 2", "cancel 1"}));
    EXPECT_EQ(web.stopped, (Lines{kLink}));
    Tick();
    EXPECT_EQ(Statuses(),
              (Lines{"Error - Server Missing File", "User Cancelled", "Download Cancelled",
                     "Download Completed", "Download Cancelled", "File Downloaded", "File Shared",
                     "Download Cancelled", "Download Cancelled"}));
    // The cancelled web download is told to stop at its next report.
    EXPECT_FALSE(list.ReportWebDownload(kLink, "Song.mp3", 20, 100, 0));

    core.sent.clear();
    board.RunCommand(kCommandCancelAll);  // nothing is left to cancel
    EXPECT_TRUE(core.sent.empty());
}

TEST_F(TransferBoardTest, CancelOneDownloadByTheRowsLink) {
    AddCore(1, "one.mp3", 100, 0, 10);
    list.OpenWebDownload(kLink, "Song.mp3");  // still contacting its server
    Tick();
    EXPECT_EQ(board.OpenMenu(0), kMenuWebDownload);
    board.RunCommand(kCommandCancel);
    EXPECT_EQ(web.stopped, (Lines{kLink}));
    EXPECT_TRUE(core.sent.empty());
    EXPECT_EQ(board.OpenMenu(1), kMenuCoreDownload);
    board.RunCommand(kCommandCancel);
    EXPECT_EQ(core.sent, (Lines{"cancel 1"}));
    Tick();
    EXPECT_EQ(Statuses(), (Lines{"User Cancelled", "Download Cancelled"}));
    EXPECT_EQ(board.OpenMenu(0), kMenuEndedDownload);
}

TEST_F(TransferBoardTest, ClearCompletedRemovesEndedDownloadsAndKeepsASharedOne) {
    AddCore(1, "done.mp3", 100, 0, 100);        // complete
    AddCore(2, "downloaded.mp3", 100, 2, 100);  // downloaded
    AddCore(3, "shared.mp3", 100, 3, 100);      // shared, never cancelled
    AddCore(4, "running.mp3", 100, 0, 50);
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 0, 0, 1);
    Tick();
    board.OpenMenu(-1);
    board.RunCommand(kCommandClearCompleted);
    Refresh();
    Lines names;
    for (std::size_t row = 0; row < shownDownloads.size(); ++row) {
        names.push_back(Cell(row, kDownloadName));
    }
    EXPECT_EQ(names, (Lines{"running.mp3", "shared.mp3"}));
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 2u);
    EXPECT_EQ(list.FindDownload(TransferKey::Core(1)), nullptr);
    EXPECT_NE(list.FindDownload(TransferKey::Core(3)), nullptr);
}

TEST_F(TransferBoardTest, ClearDownloadRemovesTheRowAndItsRecord) {
    AddCore(1, "a.mp3", 100, 6);
    AddCore(2, "b.mp3", 100, 6);
    Tick();
    EXPECT_EQ(board.OpenMenu(1), kMenuEndedDownload);
    board.RunCommand(kCommandClearDownload);
    EXPECT_EQ(board.MenuRow(), -1);
    Refresh();  // as the page does after every command
    ASSERT_EQ(shownDownloads.size(), 1u);
    EXPECT_EQ(Cell(0, kDownloadName), "b.mp3");
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 1u);
}

TEST_F(TransferBoardTest, PauseAndResumeShowAtOnceAndTheCoreHasTheLastWord) {
    AddCore(9, "a.mp3", 100, 0, 10);
    {
        const auto lock = list.Lock();
        list.FindDownload(TransferKey::Core(9))->rate = 2048.0f;
    }
    Tick();
    EXPECT_EQ(board.OpenMenu(0), kMenuCoreDownload);
    board.RunCommand(kCommandPause);
    EXPECT_EQ(core.sent, (Lines{"pause 9"}));
    Refresh();  // no time passes: the page refreshes right after a command
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Paused");
    EXPECT_EQ(Cell(0, kDownloadRate), "");
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "");
    EXPECT_EQ(board.OpenMenu(0), kMenuPausedDownload);

    list.AddOrUpdateDownload(CoreDownload(9, "a.mp3", 100, 1, 10));  // confirmed
    Tick();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Paused");
    board.RunCommand(kCommandResume);
    EXPECT_EQ(core.sent, (Lines{"pause 9", "resume 9"}));
    Refresh();
    EXPECT_EQ(Cell(0, kDownloadStatus), "File Downloading");

    // The core could not resume it: its next report puts the row right.
    list.AddOrUpdateDownload(CoreDownload(9, "a.mp3", 100, 1, 10));
    Tick();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Paused");
}

TEST_F(TransferBoardTest, ACancelledCoreDownloadLosesItsRateAtOnce) {
    AddCore(4, "a.mp3", 100, 0, 10);
    {
        const auto lock = list.Lock();
        list.FindDownload(TransferKey::Core(4))->rate = 2048.0f;
    }
    Tick();
    EXPECT_EQ(Cell(0, kDownloadRate), " 2.00 KB/s");
    board.OpenMenu(0);
    board.RunCommand(kCommandCancel);
    Refresh();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Cancelled");
    EXPECT_EQ(Cell(0, kDownloadRate), "");
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "");
}

}  // namespace
}  // namespace korvana
