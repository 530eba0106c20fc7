#include <thread>

#include "WebDownloadFixture.h"
#include "tests/transfers/TransfersTestSupport.h"
#include "transfers/TransferBoard.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::FirstTrack;
using test::WebDownloadTest;
using Names = std::vector<std::string>;

// Waits (in real time, the download runs on its own thread) until `done`.
template <typename Condition>
bool WaitFor(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class WebDownloadCommandsTest : public WebDownloadTest {
  protected:
    // Cancels the download on the first row as the context menu does.
    void CancelFirstRow(TransferBoard& board) {
        board.Refresh();
        ASSERT_EQ(board.OpenMenu(0), kMenuWebDownload);
        board.RunCommand(kCommandCancel);
    }

    test::RecordingTransferCommands core;
};

TEST_F(WebDownloadCommandsTest, ACancelledDownloadStopsAtItsNextChunk) {
    sim::SimWebFaults faults;
    faults.trickleInterval = std::chrono::milliseconds(2);
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "slow.mp3"));
    ASSERT_TRUE(WaitFor([&] { return Record(link).downloaded > 0; }));
    // Without a stopper only the answer to the next report stops it.
    TransferBoard board({list, core, nullptr, clock, log});
    CancelFirstRow(board);
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "User Cancelled");
    const std::int64_t received = Record(link).downloaded;
    EXPECT_LT(received, static_cast<std::int64_t>(FirstTrack().size));
    EXPECT_GE(static_cast<std::int64_t>(fs::file_size(Incomplete() / "slow.mp3.korvana-part")),
              received);
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

TEST_F(WebDownloadCommandsTest, ACancelledStalledDownloadStopsAtOnce) {
    MakeDownloads(std::chrono::minutes(5));
    sim::SimWebFaults faults;
    faults.stallAfterBytes = 500;
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "stalled.mp3"));
    ASSERT_TRUE(WaitFor([&] { return Record(link).downloaded > 0; }));
    TransferBoard board({list, core, downloads.get(), clock, log});
    CancelFirstRow(board);
    ASSERT_TRUE(WaitForAll());  // long before the five-minute time-out
    EXPECT_EQ(Status(link), "User Cancelled");
    EXPECT_TRUE(fs::exists(Incomplete() / "stalled.mp3.korvana-part"));
}

TEST_F(WebDownloadTest, ALinkStillDownloadingIsNotStartedTwice) {
    MakeDownloads(std::chrono::minutes(5));
    sim::SimWebFaults faults;
    faults.stallAfterBytes = 500;
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "song.mp3"));
    EXPECT_FALSE(Start(link, "song.mp3"));
    EXPECT_FALSE(Start(server.BaseUrl() + "/FILES/" + sim::PercentEncodePath(FirstTrack().fileName),
                       "other.mp3"));
    // Another link with the same file name grows in a file of its own.
    ASSERT_TRUE(Start(link + "?mirror", "song.mp3"));
    ASSERT_TRUE(WaitFor([&] { return Files(Incomplete()).size() == 2; }));
    EXPECT_EQ(Files(Incomplete()), (Names{"song (1).mp3.korvana-part", "song.mp3.korvana-part"}));
    EXPECT_EQ(downloads->Active(), 2u);
    ASSERT_TRUE(WaitFor([&] { return Record(link).downloaded > 0; }));
    downloads->Stop();
    EXPECT_EQ(downloads->Active(), 0u);
    EXPECT_EQ(Status(link), "Downloading");  // stopped without a last report
    EXPECT_FALSE(Start(FileLink("files", "x.mp3"), "x.mp3"));
}

TEST_F(WebDownloadTest, AFinishedLinkCanBeDownloadedAgain) {
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "again.mp3"));
    ASSERT_TRUE(WaitForAll());
    ASSERT_TRUE(Start(link, "again.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(Files(DefaultDownloads()), (Names{"again (1).mp3", "again.mp3"}));
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 1u);
}

TEST_F(WebDownloadTest, LinksThatAreNotHttpAreRefused) {
    EXPECT_FALSE(Start("", "a.mp3"));
    EXPECT_FALSE(Start("ftp://127.0.0.1/a.mp3", "a.mp3"));
    EXPECT_FALSE(Start("12", "a.mp3"));
    const auto lock = list.Lock();
    EXPECT_EQ(list.DownloadCount(), 0u);
}

// A link is an engine page's word: it may lead to this machine only on the
// server of an engine that searches, not to another service here.
TEST_F(WebDownloadTest, ALinkReachesThisMachineOnlyOnAnEnginesServer) {
    const std::string link = FileLink("files", FirstTrack().fileName);
    WebDownloadsConfig config;
    config.incompleteFolder = Incomplete();
    config.downloadsFolder = [this] { return GetDownloadsFolder(install, settings); };
    config.originUrls = {"http://127.0.0.1:9", "http://localhost:" + std::to_string(9)};
    downloads = std::make_unique<WebDownloads>(list, config);
    ASSERT_TRUE(Start(link, "elsewhere.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error - Cannot Contact Server");
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(Files(DefaultDownloads()), Names{});

    config.originUrls = {"http://127.0.0.1:9", server.BaseUrl() + "/"};
    downloads = std::make_unique<WebDownloads>(list, config);
    ASSERT_TRUE(Start(link, "engine.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
}

TEST_F(WebDownloadTest, OnlyAFewDownloadsRunAtOnceAndStopJoinsThemAll) {
    MakeDownloads(std::chrono::minutes(5), 2);
    sim::SimWebFaults faults;
    faults.stallAfterBytes = 500;
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Start(link + "?" + std::to_string(i), "f" + std::to_string(i) + ".mp3"));
    }
    ASSERT_TRUE(WaitFor([&] { return server.Requests().size() == 2; }));
    // Two downloads hold the two workers and the other three wait for one:
    // nothing more can start.
    ASSERT_TRUE(WaitFor([&] { return downloads->Running() == 2; }));
    EXPECT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(downloads->Active(), 5u);
    // The waiting ones show as contacting their server.
    EXPECT_EQ(Status(link + "?4"), "Contacting server");
    downloads->Stop();  // returns once every thread has ended
    EXPECT_EQ(server.Requests().size(), 2u);
}

}  // namespace
}  // namespace korvana
