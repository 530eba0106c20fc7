#include "TransferBoardFixture.h"

namespace korvana {
namespace {

using test::TransferBoardTest;
using Lines = std::vector<std::string>;

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
const std::string kLink = "http://127.0.0.1:8080/files/Song.mp3";

TEST_F(TransferBoardTest, RowsShowEveryDownloadWithItsTexts) {
    AddCore(3, "core.mp3", 6 * kGiB, 0, 3 * kGiB);
    {
        const auto lock = list.Lock();
        list.FindDownload("3")->rate = 2048.0f;
    }
    list.OpenWebDownload(kLink, "Song.mp3");
    Tick();
    ASSERT_EQ(board.Downloads().RowCount(), 2u);
    // Newest first; the time left follows at the next refresh.
    EXPECT_EQ(Row(0), (Lines{"Song.mp3", "", "- KB/s", "", "0", "Contacting server", kLink, ""}));
    EXPECT_EQ(Row(1), (Lines{"core.mp3", "50", " 2.00 KB/s", "", "6442450944", "File Downloading",
                             "3", "50"}));

    list.ReportWebDownload(kLink, "Song.mp3", 0, 4096, 0);
    Tick();
    EXPECT_EQ(Row(0),
              (Lines{"Song.mp3", "0", "- KB/s", "--:--:--", "4096", "Downloading", kLink, "0"}));
    list.ReportWebDownload(kLink, "Song.mp3", 2048, 4096, 0);
    EXPECT_EQ(Cell(0, kDownloadProgress), "0");  // rows move only at a refresh
    Tick();
    EXPECT_EQ(Row(0), (Lines{"Song.mp3", "50", "1.00 KB/s", "00:00:02", "4096", "Downloading",
                             kLink, "50"}));
    EXPECT_EQ(Cell(1, kDownloadTimeLeft), "00:00:03");  // 3 GiB to go at 1 GiB a second

    list.ReportWebDownload(kLink, "Song.mp3", 4096, 4096, 0);
    Tick();
    EXPECT_EQ(Row(0), (Lines{"Song.mp3", "100", "2.00 KB/s", "00:00:00", "4096", "Finished", kLink,
                             "100"}));
}

TEST_F(TransferBoardTest, StoppedDownloadsShowNoRateAndNoTimeLeft) {
    AddCore(1, "paused.mp3", 1000, 1, 500);
    AddCore(2, "aborted.mp3", 1000, 6, 500);
    AddCore(3, "running.mp3", 1000, 0, 500);
    {
        const auto lock = list.Lock();
        list.ForEachDownload([](TransferItem& item) { item.rate = 4096.0f; });
    }
    list.OpenWebDownload(kLink, "Song.mp3");
    list.ReportWebDownload(kLink, "Song.mp3", 100, 1000, 3);  // timed out
    Tick();
    Tick();
    const auto figures = [this](std::size_t row) {
        return Lines{Cell(row, kDownloadRate), Cell(row, kDownloadTimeLeft)};
    };
    EXPECT_EQ(figures(0), (Lines{"", ""}));
    EXPECT_EQ(figures(1), (Lines{" 4.00 KB/s", "00:00:02"}));
    EXPECT_EQ(figures(2), (Lines{"", ""}));
    EXPECT_EQ(figures(3), (Lines{"", ""}));
    EXPECT_EQ(Cell(3, kDownloadProgress), "50");  // what arrived stays shown
}

TEST_F(TransferBoardTest, ARowMatchesOnNameAndKeyTogether) {
    AddCore(1, "same.mp3", 100);
    AddCore(2, "same.mp3", 100);
    Tick();
    Tick();
    ASSERT_EQ(board.Downloads().RowCount(), 2u);
    EXPECT_EQ(Cell(0, kDownloadLink), "2");
    EXPECT_EQ(Cell(1, kDownloadLink), "1");
}

TEST_F(TransferBoardTest, CellsAreWrittenOnlyWhenTheirTextChanges) {
    test::RecordingObserver observer;
    board.Downloads().SetObserver(&observer);
    // Rows whose time left does not move: nothing received, or all of it.
    AddCore(1, "a.mp3", 100, 0, 0);
    AddCore(2, "b.mp3", 100, 1, 0);
    AddCore(3, "c.mp3", 100, 3, 100);
    Tick();
    Tick();
    const std::uint64_t writes = board.Downloads().CellWrites();
    observer.events.clear();

    Tick();  // nothing changed: the paused and shared rows stay as they are
    list.UpdateDownloadProgress(2, 0, 0.0);
    Tick();
    EXPECT_TRUE(observer.events.empty()) << observer.events.front();
    EXPECT_EQ(board.Downloads().CellWrites(), writes);

    list.UpdateDownloadProgress(2, 20, 4096.0);
    Tick();
    // Row 1 ("b.mp3"), paused: its bar and its progress, announced as one
    // range; a paused row shows no rate or time left to change.
    EXPECT_EQ(observer.events, (Lines{"change 1-1 1-7"}));
    EXPECT_EQ(board.Downloads().CellWrites(), writes + 2);
    board.Downloads().SetObserver(nullptr);
}

TEST_F(TransferBoardTest, NewRowsArriveInOneBatchPerRefresh) {
    test::RecordingObserver observer;
    board.Downloads().SetObserver(&observer);
    AddCore(1, "a.mp3", 100);
    Tick();
    for (int number = 2; number <= 4; ++number) {
        AddCore(number, "n" + std::to_string(number), 100);
    }
    Tick();
    EXPECT_EQ(observer.events, (Lines{"append 0-0", "change 0-0 3-3", "append 1-3"}));
    board.Downloads().SetObserver(nullptr);
}

TEST_F(TransferBoardTest, ACompletedCoreDownloadKeepsGettingAFinishTime) {
    AddCore(1, "done.mp3", 100, 0, 100);
    Tick();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Completed");
    Tick(std::chrono::seconds(5));
    const auto lock = list.Lock();
    EXPECT_EQ(list.FindDownload("1")->finishTime, clock.WallNow());
}

class UploadsTest : public TransferBoardTest {
  protected:
    void Report(int number, std::string name, std::int64_t uploaded) {
        UploadItem item;
        item.fileNumber = number;
        item.name = std::move(name);
        item.uploaded = uploaded;
        item.lastUpdate = clock.WallNow();
        list.AddOrUpdateUpload(item);
    }
    Lines UploadRows() {
        Lines rows;
        const TextTable& table = board.Uploads();
        for (std::size_t row = 0; row < table.RowCount(); ++row) {
            rows.push_back(table.Cell(row, 0) + "|" + table.Cell(row, 1) + "|" +
                           table.Cell(row, 2));
        }
        return rows;
    }
};

TEST_F(UploadsTest, RowsAndLabelFollowTheUploadsOfTheLast30Seconds) {
    Tick();
    EXPECT_EQ(board.UploadsLabel(), "Uploading 0 files");
    Report(7, "seven.mp3", 6 * kGiB);
    Report(8, "idle.mp3", 0);  // nothing uploaded yet: not shown
    Tick();
    EXPECT_EQ(UploadRows(), (Lines{"seven.mp3|6442450944|7"}));
    EXPECT_EQ(board.UploadsLabel(), "Uploading 1 file");

    Report(9, "nine.mp3", 10);
    Tick(std::chrono::seconds(28));
    EXPECT_EQ(UploadRows(), (Lines{"seven.mp3|6442450944|7", "nine.mp3|10|9"}));
    EXPECT_EQ(board.UploadsLabel(), "Uploading 2 files");

    Tick();  // 30 seconds since seven.mp3 was reported
    EXPECT_EQ(UploadRows(), (Lines{"nine.mp3|10|9"}));
    EXPECT_EQ(board.UploadsLabel(), "Uploading 1 file");

    Report(7, "seven.mp3", 6 * kGiB + 1);  // back, as a new row at the end
    Report(9, "nine.mp3", 10);
    Tick();
    EXPECT_EQ(UploadRows(), (Lines{"nine.mp3|10|9", "seven.mp3|6442450945|7"}));
}

// A line for each change to a shown upload, none while it stands still: a
// line per shared file every second pushed the log's history out.
TEST_F(UploadsTest, AChangedUploadIsLoggedAndAnUnchangedOneIsNot) {
    Report(7, "seven.mp3", 5);
    captured.Clear();
    Tick();
    EXPECT_EQ(captured.Lines(),
              (Lines{"Dealing with seven.mp3", "Updating seven.mp3 on the display"}));

    captured.Clear();
    Tick();
    EXPECT_EQ(captured.Lines(), Lines{});
    EXPECT_EQ(board.UploadsLabel(), "Uploading 1 file");

    Report(7, "seven.mp3", 6);
    captured.Clear();
    Tick();
    EXPECT_EQ(captured.Lines(),
              (Lines{"Dealing with seven.mp3", "Updating seven.mp3 on the display"}));
}

TEST_F(TransferBoardTest, WebTotalsCountTheWebDownloadsThatAreReceiving) {
    const std::string links[] = {kLink + "1", kLink + "2", kLink + "3", kLink + "4"};
    for (const std::string& link : links) {
        list.OpenWebDownload(link, "web.mp3");
        list.ReportWebDownload(link, "web.mp3", 0, 100000, 0);
    }
    AddCore(1, "core.mp3", 1000, 0, 500);
    clock.Advance(std::chrono::seconds(10));
    list.ReportWebDownload(links[0], "web.mp3", 10240, 100000, 0);
    list.ReportWebDownload(links[1], "web.mp3", 20480, 100000, 0);
    list.ReportWebDownload(links[2], "web.mp3", 5000, 100000, 3);    // failed: not running
    list.ReportWebDownload(links[3], "web.mp3", 100000, 100000, 0);  // finished
    board.Tick();
    EXPECT_EQ(list.activeWebDownloads(), 2);
    EXPECT_EQ(list.webDownloadRate(), 3072);
}

}  // namespace
}  // namespace korvana
