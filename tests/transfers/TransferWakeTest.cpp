#include "TransferBoardFixture.h"

namespace korvana {
namespace {

using test::TransferBoardTest;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

const std::string kLink = "http://127.0.0.1:8080/files/Song.mp3";

TEST_F(TransferBoardTest, ARunningDownloadsRowChangesWithTheClockAlone) {
    AddCore(1, "running.mp3", 1000, 0, 100);
    Tick();
    EXPECT_EQ(Tick(), 1s);
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "00:00:18");  // 900 bytes at 50 a second

    // Nothing reported, only a second gone.
    EXPECT_EQ(Tick(), 1s);
    EXPECT_EQ(test::StepTexts(downloadSteps), Lines{"changed 0-0"});
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "00:00:26");  // whole seconds, cut

    // Paused, it waits for the next change of the list.
    list.AddOrUpdateDownload(CoreDownload(1, "running.mp3", 1000, 1, 100));
    EXPECT_EQ(Tick(), std::nullopt);
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "");
}

TEST_F(TransferBoardTest, AWebDownloadsRateAndTheTotalsFollowTheClockUntilItEnds) {
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 0, 4096, 0);
    EXPECT_EQ(Tick(), 1s);            // a new row: its time left comes a second later
    EXPECT_EQ(Tick(), std::nullopt);  // nothing received yet: nothing moves
    list.ReportWebDownload(kLink, "Song.mp3", 1024, 4096, 0);
    EXPECT_EQ(Tick(), 1s);
    EXPECT_EQ(Cell(0, kDownloadRate), "0.33 KB/s");  // 1 KiB in 3 s
    EXPECT_EQ(list.webDownloadRate(), 341);

    EXPECT_EQ(Tick(), 1s);
    EXPECT_EQ(Cell(0, kDownloadRate), "0.25 KB/s");
    EXPECT_EQ(list.webDownloadRate(), 256);

    list.ReportWebDownload(kLink, "Song.mp3", 4096, 4096, 0);
    EXPECT_EQ(Tick(), std::nullopt);
    EXPECT_EQ(Cell(0, kDownloadStatus), "Finished");
    EXPECT_EQ(list.activeWebDownloads(), 0);
}

TEST_F(TransferBoardTest, NothingRunningAsksForNoRefresh) {
    AddCore(1, "paused.mp3", 1000, 1, 500);
    AddCore(2, "shared.mp3", 1000, 3, 1000);
    AddCore(3, "queued.mp3", 1000, 7, 0);
    AddCore(4, "complete.mp3", 1000, 0, 1000);
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 100, 1000, 3);  // timed out
    Tick();  // new rows: their time left comes a second later
    EXPECT_EQ(Tick(), std::nullopt);
    EXPECT_EQ(Cell(2, kDownloadTimeLeft), "--:--:--");
    EXPECT_EQ(Cell(1, kDownloadTimeLeft), "00:00:00");
    EXPECT_EQ(Tick(10s), std::nullopt);
    EXPECT_TRUE(downloadSteps.empty());
}

class UploadWakeTest : public TransferBoardTest {
  protected:
    void Report(int number, std::int64_t uploaded) {
        UploadItem item;
        item.fileNumber = number;
        item.name = "shared " + std::to_string(number) + ".mp3";
        item.uploaded = uploaded;
        item.lastUpdate = clock.WallNow();
        list.AddOrUpdateUpload(item);
    }
};

TEST_F(UploadWakeTest, AnUploadRowAsksForTheRefreshThatTakesItAway) {
    Report(7, 100);
    EXPECT_EQ(Tick(), 29s);
    ASSERT_EQ(shownUploads.size(), 1u);

    // Reported again with the same total: no change, but a later end.
    clock.Advance(9s);
    Report(7, 100);
    EXPECT_EQ(Tick(20s), 10s);  // reported 20 s ago
    EXPECT_TRUE(uploadSteps.empty());
    EXPECT_EQ(Tick(10s), std::nullopt);
    EXPECT_EQ(test::StepTexts(uploadSteps), Lines{"removed 0-0"});
    EXPECT_EQ(board.UploadsLabel(), "Uploading 0 files");
}

TEST_F(UploadWakeTest, AClockThatWentBackAsksForNoFarOffRefresh) {
    const std::time_t now = clock.WallNow();
    clock.SetWall(now + 3'000'000'000);
    Report(7, 100);
    clock.SetWall(now);
    EXPECT_EQ(Refresh(), 30s);
    EXPECT_EQ(shownUploads.size(), 1u);
}

}  // namespace
}  // namespace korvana
