#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/CoreFrames.h"
#include "tests/core/DispatchTestSupport.h"

namespace korvana {
namespace {

using test::BodyOf;
using Lines = std::vector<std::string>;

class Dispatch : public ::testing::Test {
  protected:
    void Feed(const GuiMessage& message) { rig.dispatcher.Dispatch(BodyOf(message)); }
    void Feed(const std::string& body) { rig.dispatcher.Dispatch(body); }
    test::DispatchRig rig;
};

TEST_F(Dispatch, OptionsReplaceByExactNameAndAreFoundInAnyCase) {
    Feed(test::Options({{"max_hard_upload_rate", "10"}, {"Max_Hard_Upload_Rate", "7"}}));
    Feed(test::Options({{"max_hard_upload_rate", "20"}}));
    EXPECT_EQ(rig.lines.Take(), (Lines{"max_hard_upload_rate = 10", "Max_Hard_Upload_Rate = 7",
                                       "max_hard_upload_rate = 20"}));
    // The exact name was replaced in place; the name in other case is the
    // newer entry, so a case-blind look-up finds it first.
    EXPECT_EQ(rig.tables.OptionValue("MAX_HARD_UPLOAD_RATE"), "7");
    Feed(test::Options({{"enable_gnutella", "true"}}));
    EXPECT_EQ(rig.tables.OptionValue("ENABLE_GNUTELLA"), "true");
    EXPECT_EQ(rig.tables.OptionValue("missing"), "");

    // An absent string ends the message; the pairs before it stay.
    GuiMessage cut(1);
    cut.Put16(2);
    cut.PutString("client_name");
    cut.PutString("first");
    cut.Put16(40);
    Feed(cut);
    EXPECT_EQ(rig.tables.OptionValue("client_name"), "first");
    EXPECT_EQ(rig.lines.Take(), (Lines{"enable_gnutella = true", "client_name = first"}));
}

TEST_F(Dispatch, NetworksKeepTheirFirstReportAndServersSumOverKnownOnes) {
    Feed(test::Network(1, "Donkey", true));
    Feed(test::Network(2, "Gnutella", false));
    Feed(test::Network(1, "Renamed", false));
    EXPECT_EQ(rig.tables.Network(1)->name, "Donkey");
    EXPECT_TRUE(rig.tables.Network(1)->enabled);
    EXPECT_EQ(rig.tables.NetworkCount(), 2u);

    Feed(test::ClientStats({{1, 3}, {2, 4}, {9, 100}}));
    EXPECT_EQ(rig.tables.ConnectedServers(), 7);
    EXPECT_EQ(rig.listener.clientStats.load(), 1);
    // The same statistics again are no news; another server count is.
    Feed(test::ClientStats({{1, 3}, {2, 4}, {9, 100}}));
    EXPECT_EQ(rig.listener.clientStats.load(), 1);
    Feed(test::ClientStats({{1, 3}, {2, 5}}));
    EXPECT_EQ(rig.listener.clientStats.load(), 2);
    EXPECT_EQ(rig.tables.ConnectedServers(), 8);
    Feed(test::ClientStats({{1, 3}, {2, 4}}));
    const ClientStatistics stats = rig.tables.ClientStats();
    EXPECT_EQ(stats.totalUploaded, 1);
    EXPECT_EQ(stats.sharedBytes, 3);
    EXPECT_EQ(stats.sharedFileCount, 4);
    EXPECT_EQ(stats.uploadRateA, 5);
    EXPECT_EQ(stats.downloadRateA, 6);
    EXPECT_EQ(stats.uploadRateB, 7);
    EXPECT_EQ(stats.downloadRateB, 8);
    EXPECT_EQ(stats.downloadingFileCount, 9);
    EXPECT_TRUE(rig.lines.Take().empty());
}

TEST_F(Dispatch, ResultsWaitForTheirSearchAndBindToOpenSearchesOnly) {
    rig.sinks.results.AddSearch(0);
    Feed(test::ClassicResult(11, 2, "first.mp3", 100,
                             {{"availability", 0, 3, ""}, {"bitrate", 0, 192, ""}}));
    EXPECT_TRUE(rig.sinks.results.Results().empty());
    EXPECT_EQ(rig.lines.Take(), (Lines{"Result info received",
                                       "result_info : result_id = 11 net_id = 2 name=first.mp3"}));

    Feed(test::SearchResult(5, 11));  // a search that was never started
    Feed(test::SearchResult(0, 12));  // a result that never came
    EXPECT_TRUE(rig.sinks.results.Results().empty());

    Feed(test::ClassicResult(11, 2, "second.mp3", 200));  // same id: the newer record wins
    Feed(test::SearchResult(0, 11));
    const std::vector<RecordingResultSink::Handed> bound = rig.sinks.results.Results();
    ASSERT_EQ(bound.size(), 1u);
    EXPECT_EQ(bound[0].name, "second.mp3");
    EXPECT_EQ(bound[0].searchId, 0);
    const Lines lines = rig.lines.Take();
    EXPECT_EQ(lines[0], "search_id = 5  result_id = 11");
    EXPECT_EQ(lines.back(), "0 items in network list");
    EXPECT_EQ(lines[lines.size() - 2], "search_id = 0  result_id = 11");
}

// The core link names each result's network itself, so the search model
// never calls back into the link; a known name is looked up once.
TEST_F(Dispatch, ResultsCarryTheirNetworkNameLookedUpOncePerKnownNetwork) {
    rig.sinks.results.AddSearch(0);
    Feed(test::Network(1, "Donkey", true));
    const auto bind = [this](std::int32_t resultId, std::int32_t network) {
        Feed(test::ClassicResult(resultId, network, "a.mp3", 1));
        Feed(test::SearchResult(0, resultId));
    };
    for (std::int32_t id = 0; id < 3; ++id) {
        bind(id, 1);
    }
    bind(10, 9);
    bind(11, 9);
    Feed(test::Network(9, "Gnutella", true));
    bind(12, 9);
    bind(13, 9);
    std::vector<std::string> networks;
    for (const RecordingResultSink::Handed& handed : rig.sinks.results.Results()) {
        networks.push_back(handed.network);
    }
    EXPECT_EQ(networks,
              (Lines{"Donkey", "Donkey", "Donkey", "unknown", "unknown", "Gnutella", "Gnutella"}));
    const Lines lines = rig.lines.Take();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "1 items in network list"), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "2 items in network list"), 1);

    // A new connection may number the networks otherwise.
    rig.dispatcher.BeginConnection();
    bind(14, 1);
    EXPECT_EQ(rig.sinks.results.Results().back().network, "Donkey");
    EXPECT_EQ(rig.lines.Take().back(), "2 items in network list");
}

TEST_F(Dispatch, ResultWithAbsentTextIsDroppedAfterItsNameLine) {
    rig.sinks.results.AddSearch(1);
    std::string body = BodyOf(test::ClassicResult(3, 1, "x.mp3", 1, {{"codec", 2, 0, "mp3"}}));
    body.resize(body.size() - 12);  // cuts into the tag's text
    Feed(body);
    Feed(test::SearchResult(1, 3));
    EXPECT_TRUE(rig.sinks.results.Results().empty());
    EXPECT_EQ(rig.dispatcher.Results().Size(), 0u);
    EXPECT_EQ(rig.lines.Take(),
              (Lines{"Result info received", "result_info : result_id = 3 net_id = 1 name=x.mp3",
                     "search_id = 1  result_id = 3"}));
}

TEST_F(Dispatch, OnlyTheFirstHelloOfAConnectionChoosesTheLayout) {
    Feed(test::Hello(41));
    Feed(std::string("\x2F\x00", 2));  // an empty message later on counts as a hello
    EXPECT_EQ(rig.dispatcher.AnnouncedProtocol(), 41u);
    rig.dispatcher.BeginConnection();
    EXPECT_EQ(rig.dispatcher.AnnouncedProtocol(), 0u);
    Feed(test::Hello(25));
    EXPECT_EQ(rig.dispatcher.AnnouncedProtocol(), 25u);
    EXPECT_EQ(rig.lines.Take(), Lines(3, "Received a hello opcode"));
}

TEST_F(Dispatch, HelloDecidesTheLayoutOfResultsAndSharedFiles) {
    GuiMessage real(48);
    real.Put32(3);
    real.Put32(1);
    real.PutString("a.mp3");
    real.Put64(5000000000LL);
    real.Put64(777);
    real.Put32(2);
    Feed(test::Hello(41));
    EXPECT_EQ(rig.dispatcher.AnnouncedProtocol(), 41u);
    Feed(real);
    rig.dispatcher.BeginConnection();
    Feed(std::string("\x00\x00", 2));  // an empty hello: plain layouts again
    Feed(real);
    const std::vector<UploadItem> uploads = rig.sinks.transfers.Uploads();
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].uploaded, 777);
    EXPECT_EQ(uploads[0].requests, 2);
    EXPECT_EQ(uploads[0].lastUpdate, 1700000000);
    EXPECT_NE(uploads[1].uploaded, 777);  // the 64-bit size misread as the plain layout
    const Lines lines = rig.lines.Take();
    EXPECT_EQ(lines[0], "Received a hello opcode");
    EXPECT_EQ(lines[1], "a.mp3 (3) : 777 bytes uploaded");
}

TEST_F(Dispatch, DownloadListHandsOverOnlyWholeEntries) {
    GuiMessage list(53);
    list.Put16(2);
    test::PutDownloadEntry(list, 17, "one.mp3", 6);
    test::PutDownloadEntry(list, 18, "two.mp3", 0);
    std::string body = BodyOf(list);
    body.resize(body.size() - 14);  // cuts into the second entry's file name
    Feed(body);
    const std::vector<TransferItem> items = rig.sinks.transfers.Downloads();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].key, TransferKey::Core(17));
    EXPECT_EQ(items[0].name, "one.mp3");
    EXPECT_EQ(items[0].size, 4000000);
    EXPECT_EQ(items[0].downloaded, 1000000);
    EXPECT_EQ(items[0].coreState, 6);
    EXPECT_FLOAT_EQ(items[0].rate, 2048.5f);
    EXPECT_EQ(items[0].startTime, 1700000000);

    GuiMessage other(53);
    other.Put16(2);
    test::PutDownloadEntry(other, 19, "generic", 1, 1 - 1);
    test::PutDownloadEntry(other, 20, "last", 0);
    Feed(other);
    EXPECT_EQ(rig.sinks.transfers.Downloads().size(), 3u);
    EXPECT_EQ(rig.sinks.transfers.Downloads()[2].name, "last");
}

// A real core announces each change of a file with its whole record under
// opcode 52, not with its names: a file that finishes or is cancelled leaves
// the download list, and this record is the only word of it.
TEST_F(Dispatch, RealCoreFileInfoHandsOverTheWholeRecord) {
    Feed(std::string("\0\0\x29\0\0\0", 6));
    GuiMessage info(52);
    test::PutDownloadEntry(info, 21, "done.mp3", 4);
    Feed(info);
    std::string cut = BodyOf(info);
    cut.resize(cut.size() - 14);
    Feed(cut);
    const std::vector<TransferItem> items = rig.sinks.transfers.Downloads();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].key, TransferKey::Core(21));
    EXPECT_EQ(items[0].name, "done.mp3");
    EXPECT_EQ(items[0].size, 4000000);
    EXPECT_EQ(items[0].downloaded, 1000000);
    EXPECT_EQ(items[0].coreState, 4);
    EXPECT_FLOAT_EQ(items[0].rate, 2048.5f);
    EXPECT_EQ(rig.lines.Take(),
              (Lines{"Received a hello opcode", "file_info 21: done.mp3 state 4"}));
}

TEST_F(Dispatch, OpcodesLogTheirLinesOrNothing) {
    Feed(std::string("\x05\x00", 2));  // two bytes: a hello whatever they say
    for (int opcode : {12, 55, 2, 600, 3, 26}) {
        GuiMessage ignored(opcode);
        ignored.Put32(1);
        Feed(ignored);
    }
    GuiMessage console(19);
    console.PutString(std::string("hi\0there", 8));
    Feed(console);
    GuiMessage upload(34);
    upload.Put32(4);
    upload.Put64(0x100000005ULL);
    upload.Put32(1);
    Feed(upload);
    GuiMessage update(46);
    update.Put32(8);
    update.Put64(4096);
    update.PutString("1536");
    update.Put32(12);
    Feed(update);
    GuiMessage names(52);
    names.Put32(8);
    names.Put32(1);
    names.Put16(2);
    names.PutString("a");
    names.PutString("b");
    Feed(names);
    EXPECT_EQ(rig.lines.Take(),
              (Lines{"Received a hello opcode", "opcode 2 received.", "opcode 600 received.",
                     "Console message received: hi0there",
                     "SHARED FILE UPLOAD: file 4 upload now 5", "File download update received",
                     "file id=8 size=4096 rate=  1.5 seen_last = 12 seconds",
                     "file_id 8 net_id 1 :  a b"}));
    const auto progress = rig.sinks.transfers.ProgressReports();
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0].fileNumber, 8);
    EXPECT_DOUBLE_EQ(progress[0].rate, 1536.0);
}

TEST_F(Dispatch, OversizedBodyIsIgnored) {
    std::string body = BodyOf(test::Options({{"a", "b"}}));
    body.resize(GuiMessage::kMaxPayload + 1, 'x');
    Feed(body);
    EXPECT_EQ(rig.tables.OptionValue("a"), "");
    EXPECT_TRUE(rig.lines.Take().empty());
}

}  // namespace
}  // namespace korvana
