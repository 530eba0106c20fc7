#include "WebDownloadFixture.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::FirstTrack;
using test::WebDownloadTest;
using Names = std::vector<std::string>;

TEST_F(WebDownloadTest, AFileArrivesWholeInTheDownloadsFolder) {
    const sim::SimTrack& track = FirstTrack();
    const std::string link = FileLink("files", track.fileName);
    // The server holds its answer back, so that the status the row gets when
    // the download is queued can be read before the transfer moves it on.
    sim::SimWebFaults faults;
    faults.answerDelay = 1s;
    server.SetFaults(faults);
    ASSERT_TRUE(Start(link, track.fileName));
    EXPECT_EQ(Status(link), "Contacting server");
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(Record(link).size, static_cast<std::int64_t>(track.size));
    EXPECT_NE(Record(link).finishTime, 0);
    EXPECT_EQ(test::ReadText(DefaultDownloads() / track.fileName), CatalogueBytes(track.size));
    EXPECT_EQ(Files(Incomplete()), Names{});
    const std::vector<sim::SimRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].raw.substr(0, requests[0].raw.find("Host:")),
              "GET /files/" + sim::PercentEncodePath(track.fileName) +
                  " HTTP/1.0\r\nConnection: close\r\n");
}

TEST_F(WebDownloadTest, TheServerLackingTheFileIsAnError) {
    const std::string missing = FileLink("files", "missing.mp3");
    const std::string noLength = FileLink("nolength", FirstTrack().fileName);
    const std::string zeroLength = FileLink("zerolength", FirstTrack().fileName);
    ASSERT_TRUE(Start(missing, "missing.mp3"));
    ASSERT_TRUE(Start(noLength, "nolength.mp3"));
    ASSERT_TRUE(Start(zeroLength, "zerolength.mp3"));
    ASSERT_TRUE(WaitForAll());
    for (const std::string& link : {missing, noLength, zeroLength}) {
        EXPECT_EQ(Status(link), "Error - Server Missing File") << link;
    }
    // No empty file is left behind for any of them.
    EXPECT_EQ(Files(Incomplete()), Names{});
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

TEST_F(WebDownloadTest, AResetConnectionLeavesNoFile) {
    sim::SimWebFaults faults;
    faults.reset = true;
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "reset.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error - Cannot Contact Server");
    EXPECT_EQ(Files(Incomplete()), Names{});
}

TEST_F(WebDownloadTest, AServerThatCannotBeReachedIsAnError) {
    const std::string link =
        "http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/files/gone.mp3";
    ASSERT_TRUE(Start(link, "gone.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error - Cannot Contact Server");
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

TEST_F(WebDownloadTest, AnAnswerThatIsNotHttpIsAnError) {
    server.Router().SetRawResponse("/garbage", "ICY 200 OK\r\nContent-Length: 4\r\n\r\nabcd");
    const std::string link = server.BaseUrl() + "/garbage";
    ASSERT_TRUE(Start(link, "garbage.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error - Cannot Contact Server");
}

TEST_F(WebDownloadTest, AStalledServerTimesOutAndThePartialFileGoes) {
    MakeDownloads(300ms);
    sim::SimWebFaults faults;
    faults.stallAfterBytes = 1000;
    server.SetFaults(faults);
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "stalled.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error - Connection Timeout");
    const TransferItem record = Record(link);
    EXPECT_GT(record.downloaded, 0);
    EXPECT_LT(record.downloaded, 1000);
    EXPECT_EQ(Files(Incomplete()), Names{});
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

TEST_F(WebDownloadTest, AConnectionClosedEarlyIsNotAFinishedFile) {
    sim::SimWebFaults faults;
    faults.lyingLength = true;  // announces 1000 bytes more than it sends
    server.SetFaults(faults);
    const sim::SimTrack& track = FirstTrack();
    const std::string link = FileLink("files", track.fileName);
    ASSERT_TRUE(Start(link, "short.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Error");
    EXPECT_EQ(Record(link).downloaded, static_cast<std::int64_t>(track.size));
    EXPECT_EQ(Record(link).size, static_cast<std::int64_t>(track.size) + 1000);
    EXPECT_EQ(Files(Incomplete()), Names{});
    EXPECT_EQ(Files(DefaultDownloads()), Names{});
}

TEST_F(WebDownloadTest, AHeaderSplitOverManyReadsIsReadAsAHeader) {
    server.Router().SetRawResponse("/split",
                                   "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789");
    sim::SimWebFaults faults;
    faults.trickleInterval = 1ms;  // one byte per read
    server.SetFaults(faults);
    const std::string link = server.BaseUrl() + "/split";
    ASSERT_TRUE(Start(link, "split.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(test::ReadText(DefaultDownloads() / "split.mp3"), "0123456789");
}

TEST_F(WebDownloadTest, BytesBeyondTheAnnouncedLengthAreNotPartOfTheFile) {
    server.Router().SetRawResponse("/long",
                                   "HTTP/1.0 200 OK\r\nContent-Length: 4\r\n\r\nabcdEXTRA");
    const std::string link = server.BaseUrl() + "/long";
    ASSERT_TRUE(Start(link, "long.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Status(link), "Finished");
    EXPECT_EQ(test::ReadText(DefaultDownloads() / "long.mp3"), "abcd");
}

TEST_F(WebDownloadTest, ThePathSettingDecidesWhereTheFileLands) {
    const sim::SimTrack& track = FirstTrack();
    const fs::path chosen = temp.Path() / "My Music";
    settings.Write("Path", chosen.string());
    ASSERT_TRUE(Start(FileLink("files", track.fileName), "chosen.mp3"));
    ASSERT_TRUE(WaitForAll());
    settings.Remove("Path");
    ASSERT_TRUE(Start(FileLink("files", track.fileName) + "?again", "default.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Files(chosen), Names{"chosen.mp3"});
    EXPECT_EQ(Files(DefaultDownloads()), Names{"default.mp3"});
}

TEST_F(WebDownloadTest, AnExistingNameGivesAFreeName) {
    const sim::SimTrack& track = FirstTrack();
    fs::create_directories(DefaultDownloads());
    test::WriteText(DefaultDownloads() / "song.mp3", "mine");
    const std::string link = FileLink("files", track.fileName);
    ASSERT_TRUE(Start(link, "song.mp3"));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Files(DefaultDownloads()), (Names{"song (1).mp3", "song.mp3"}));
    // The list learns the name the file got, not the one it asked for.
    EXPECT_EQ(Record(link).savedFile, DefaultDownloads() / "song (1).mp3");
    EXPECT_EQ(test::ReadText(DefaultDownloads() / "song.mp3"), "mine");
    EXPECT_EQ(test::ReadText(DefaultDownloads() / "song (1).mp3"), CatalogueBytes(track.size));
    EXPECT_EQ(Files(Incomplete()), Names{});
}

TEST_F(WebDownloadTest, HostileNamesStayInsideTheirFolders) {
    const std::string link = FileLink("files", FirstTrack().fileName);
    ASSERT_TRUE(Start(link, "../../escaped.mp3"));
    ASSERT_TRUE(Start(link + "?2", std::string("..\\evil\0name.mp3", 16)));
    ASSERT_TRUE(Start(link + "?3", ".."));
    ASSERT_TRUE(WaitForAll());
    EXPECT_EQ(Files(DefaultDownloads()), (Names{"download", "escaped.mp3", "evil_name.mp3"}));
    EXPECT_EQ(Files(install), (Names{"Downloads", "Incomplete"}));
    EXPECT_EQ(Files(temp.Path()), Names{"install"});
    // The list still shows the name as the result gave it.
    EXPECT_EQ(Record(link).name, "../../escaped.mp3");
}

}  // namespace
}  // namespace korvana
