#include "TransferBoardFixture.h"

namespace korvana {
namespace {

using test::TransferBoardTest;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
const std::string kLink = "http://127.0.0.1:8080/files/Song.mp3";

TEST_F(TransferBoardTest, RowsShowEveryDownloadWithItsTexts) {
    AddCore(3, "core.mp3", 6 * kGiB, 0, 3 * kGiB);
    {
        const auto lock = list.Lock();
        list.FindDownload(TransferKey::Core(3))->rate = 2048.0f;
    }
    list.OpenWebDownload(kLink, "Song.mp3");
    Tick();
    ASSERT_EQ(shownDownloads.size(), 2u);
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

TEST_F(TransferBoardTest, EachDownloadHasItsOwnRowWhateverItsName) {
    AddCore(1, "same.mp3", 100);
    AddCore(2, "same.mp3", 100);
    Tick();
    Tick();
    ASSERT_EQ(shownDownloads.size(), 2u);
    EXPECT_EQ(Cell(0, kDownloadLink), "2");
    EXPECT_EQ(Cell(1, kDownloadLink), "1");
}

// Rows whose texts hold still: nothing received, paused, or all of it.
TEST_F(TransferBoardTest, NothingChangedMeansNoStepsAndNoNotice) {
    test::CountingChangeListener notices;
    list.Notice().SetListener(&notices);
    AddCore(1, "a.mp3", 100, 0, 0);
    AddCore(2, "b.mp3", 100, 1, 0);
    AddCore(3, "c.mp3", 100, 3, 100);
    EXPECT_EQ(notices.raised, 1);  // once until the board takes the changes
    Tick();
    Tick();
    notices.raised = 0;

    EXPECT_EQ(Tick(), std::nullopt);
    EXPECT_TRUE(downloadSteps.empty());
    // The core's reports every few seconds, with the same values.
    list.UpdateDownloadProgress(2, 0, 0.0);
    list.AddOrUpdateDownload(CoreDownload(1, "a.mp3", 100, 0, 0));
    list.AddOrUpdateDownload(CoreDownload(3, "c.mp3", 100, 3, 100));
    EXPECT_EQ(notices.raised, 0);
    Tick();
    EXPECT_TRUE(downloadSteps.empty());

    list.UpdateDownloadProgress(2, 20, 4096.0);
    EXPECT_EQ(notices.raised, 1);
    Tick();
    // Row 1 ("b.mp3"), paused: its bar and progress; no rate or time left.
    EXPECT_EQ(test::StepTexts(downloadSteps), Lines{"changed 1-1"});
    EXPECT_EQ(Row(1), (Lines{"b.mp3", "20", "", "", "100", "Download Paused", "2", "20"}));
    list.Notice().SetListener(nullptr);
}

TEST_F(TransferBoardTest, NewRowsArriveInOneStepPerRefresh) {
    AddCore(1, "a.mp3", 100);
    Tick();
    EXPECT_EQ(test::StepTexts(downloadSteps), Lines{"inserted 0-0"});
    for (int number = 2; number <= 4; ++number) {
        AddCore(number, "n" + std::to_string(number), 100);
    }
    Tick();
    // Row 0's time left follows a refresh after its row.
    EXPECT_EQ(test::StepTexts(downloadSteps), (Lines{"changed 0-0", "inserted 1-3"}));
    EXPECT_EQ(Cell(0, kDownloadTimeLeft), "--:--:--");
}

TEST_F(TransferBoardTest, NeighbouringChangedRowsAreOneStepAndClearedRowsGo) {
    for (int number = 1; number <= 5; ++number) {
        AddCore(number, "n" + std::to_string(number), 100, 1);
    }
    Tick();
    ASSERT_EQ(Statuses().size(), 5u);
    // Rows 0 to 4 show files 5 to 1.
    list.UpdateDownloadProgress(5, 10, 0.0);
    list.UpdateDownloadProgress(4, 10, 0.0);
    list.UpdateDownloadProgress(1, 10, 0.0);
    Tick();
    EXPECT_EQ(test::StepTexts(downloadSteps), (Lines{"changed 0-1", "changed 4-4"}));

    for (const int number : {4, 3, 1}) {
        list.AddOrUpdateDownload(CoreDownload(number, "", 100, 2, 100));  // downloaded
    }
    Tick();
    board.OpenMenu(-1);
    board.RunCommand(kCommandClearCompleted);
    Refresh();
    // From the bottom up, so that the rows above keep their numbers.
    EXPECT_EQ(test::StepTexts(downloadSteps), (Lines{"removed 4-4", "removed 1-2"}));
    Lines links;
    for (std::size_t row = 0; row < shownDownloads.size(); ++row) {
        links.push_back(Cell(row, kDownloadLink));
    }
    EXPECT_EQ(links, (Lines{"5", "2"}));
}

TEST_F(TransferBoardTest, ACompletedCoreDownloadKeepsGettingAFinishTime) {
    AddCore(1, "done.mp3", 100, 0, 100);
    Tick();
    EXPECT_EQ(Cell(0, kDownloadStatus), "Download Completed");
    Tick(std::chrono::seconds(5));
    const auto lock = list.Lock();
    EXPECT_EQ(list.FindDownload(TransferKey::Core(1))->finishTime, clock.WallNow());
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
        for (const UploadRow& row : shownUploads) {
            rows.push_back(UploadCell(row, kUploadName) + "|" + UploadCell(row, kUploadBytes) +
                           "|" + UploadCell(row, kUploadFileId));
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
    Refresh();
    EXPECT_EQ(list.activeWebDownloads(), 2);
    EXPECT_EQ(list.webDownloadRate(), 3072);
}

}  // namespace
}  // namespace korvana

namespace korvana {
namespace {

using test::TransferBoardTest;

// What a desktop notice would tell: downloads that end while the program
// runs, finished or failed; not those that ended before, nor a cancel.
TEST_F(TransferBoardTest, DownloadsThatEndWhileShownAreToldOnce) {
    const std::string link = "http://127.0.0.1:8080/files/Song.mp3";
    const std::string broken = "http://127.0.0.1:8080/files/Gone.mp3";
    AddCore(1, "earlier.mp3", 1000, 2, 1000);  // finished in an earlier session
    AddCore(2, "running.mp3", 1000, 0, 500);
    list.OpenWebDownload(link, "Song.mp3");
    list.OpenWebDownload(broken, "Gone.mp3");
    Tick();
    EXPECT_TRUE(board.TakeEndings().empty());

    list.ReportWebDownload(link, "Song.mp3", 4096, 4096, 0);
    list.ReportWebDownload(broken, "Gone.mp3", 0, 0, 2);
    AddCore(2, "running.mp3", 1000, 2, 1000);
    Tick();
    const std::vector<DownloadOutcome> endings = board.TakeEndings();
    ASSERT_EQ(endings.size(), 3u);
    EXPECT_EQ(endings[0].name, "Gone.mp3");
    EXPECT_TRUE(endings[0].failed);
    EXPECT_EQ(endings[0].reason, "Error - Server Missing File");
    EXPECT_EQ(endings[1].name, "Song.mp3");
    EXPECT_FALSE(endings[1].failed);
    EXPECT_EQ(endings[2].name, "running.mp3");

    Tick();
    EXPECT_TRUE(board.TakeEndings().empty());
}

}  // namespace
}  // namespace korvana
