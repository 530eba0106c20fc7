#include "core/CoreLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/core/CoreFrames.h"
#include "tests/core/DispatchTestSupport.h"
#include "tests/integration/core/ScriptedCore.h"
#include "tests/support/LoopbackPort.h"

namespace korvana {
namespace {

using test::ScriptedCore;
using Opcodes = std::vector<int>;

const Opcodes kLogIn = {0, 47, 52, 28, 10, 45};
constexpr char kFolder[] = "/home/user/Korvana Downloads";

class RecordingPrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string&) override {
        if (text == "Failed to create socket.") {
            ++socketFailures;
        }
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::atomic<int> socketFailures{0};
};

std::string Body(const GuiMessage& message) {
    return test::BodyOf(message);
}

class CoreLinkSession : public ::testing::Test {
  protected:
    void Start(CoreLinkConfig config = {}) {
        config.host = "127.0.0.1";
        config.port = core.Port();
        config.downloadsFolder = [this] {
            const std::lock_guard<std::mutex> lock(folderMutex);
            return folder;
        };
        link = std::make_unique<CoreLink>(config, log, prompter, clock);
        link->SetListener(&listener);
        link->SetSearchSink(&results);
        link->SetTransferSink(&transfers);
        link->StartReceiveThread();
    }
    bool LoggedInOn(int connection) {
        return core.WaitUntil([&] {
            const Opcodes got = core.Opcodes(connection);
            return got.size() >= kLogIn.size() && link->IsLoggedIn();
        });
    }
    bool Logged(const std::string& line) {
        return core.WaitUntil([&] { return Count(line) > 0; });
    }
    long Count(const std::string& line) const {
        const std::vector<std::string> all = lines.Copy();
        return std::count(all.begin(), all.end(), line);
    }
    // Frames that came after the log-in on `connection`.
    std::vector<std::string> AfterLogIn(int connection, std::size_t logInFrames = 6) {
        std::vector<std::string> frames = core.Frames(connection);
        frames.erase(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(
                                                          std::min(logInFrames, frames.size())));
        return frames;
    }

    void SetFolder(std::string text) {
        const std::lock_guard<std::mutex> lock(folderMutex);
        folder = std::move(text);
    }

    std::mutex folderMutex;
    std::string folder = kFolder;
    ScriptedCore core;
    StatusLog log;
    test::LogLines lines{log};
    RecordingPrompter prompter;
    SystemClock clock;
    test::CountingListener listener;
    RecordingResultSink results;
    RecordingTransferSink transfers;
    std::unique_ptr<CoreLink> link;
};

TEST_F(CoreLinkSession, LogsInWithEachMessageAsItsOwnFrame) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    link->AskUploadStats();  // marks the end of what the log-in sent
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(0).size() == 7; }));
    EXPECT_EQ(core.Opcodes(0), (Opcodes{0, 47, 52, 28, 10, 45, 49}));
    const std::vector<std::string> frames = core.Frames(0);
    EXPECT_EQ(frames[0], Body(BuildProtocolVersion()));
    EXPECT_EQ(frames[1], Body(BuildExtensionList()));
    EXPECT_EQ(frames[2], Body(BuildPassword("", "admin")));
    EXPECT_EQ(frames[3], Body(BuildSetOption("incoming_directory", kFolder)));
    EXPECT_EQ(frames[4], Body(BuildOptionList("incoming_directory", kFolder)));
    // The listener hears of a log-in just after the link counts it.
    ASSERT_TRUE(core.WaitUntil([&] { return listener.loggedIn.load() >= 1; }));
    EXPECT_EQ(listener.loggedIn.load(), 1);
    const std::vector<std::string> expected = {"Connecting",      "Connected to server.",
                                               "Got 2 bytes: ",   "Received a hello opcode",
                                               "Sending Hello.",  "Sending Password.",
                                               "Password sent.",  "Sending option.",
                                               "Sending option.", "Asking for downloading files"};
    const std::vector<std::string> all = lines.Copy();
    ASSERT_GE(all.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 10), expected);
}

// A real core has no incoming_directory option and answers it with errors;
// it files finished downloads in the first shared folder with the incoming
// strategy, and `share` alone only changes the priority of a folder it
// already shares. So the folder is unshared and shared again with that
// strategy, and the core is asked for its shared folders.
TEST_F(CoreLinkSession, RealCoreIsToldToCommitDownloadsIntoTheDownloadsFolder) {
    core.SetGreeting(ScriptedCore::Greeting::RealHello);
    Start();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(0).size() >= 7; }));
    EXPECT_EQ(core.Opcodes(0), (Opcodes{0, 47, 52, 45, 29, 29, 29}));
    const std::string quoted = std::string("\"") + kFolder + "\"";
    EXPECT_EQ(core.Frames(0)[4], Body(BuildConsoleCommand("unshare " + quoted)));
    EXPECT_EQ(core.Frames(0)[5],
              Body(BuildConsoleCommand("share 0 " + quoted + " incoming_files")));
    EXPECT_EQ(core.Frames(0)[6], Body(BuildConsoleCommand("shares")));
    EXPECT_EQ(Count("Sending option."), 0);
}

// A folder holding a double quote goes out in single quotes; one that no
// console argument can carry is not sent at all, and the log says so.
TEST_F(CoreLinkSession, RealCoreGetsTheDownloadsFolderOnlyWhenItCanBeQuoted) {
    SetFolder("/x/dl \"q\" x");
    core.SetGreeting(ScriptedCore::Greeting::RealHello);
    Start();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(0).size() >= 7; }));
    EXPECT_EQ(core.Frames(0)[5],
              Body(BuildConsoleCommand("share 0 '/x/dl \"q\" x' incoming_files")));

    SetFolder("/x/it's \"both\"");
    core.Drop();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(1).size() >= 4; }));
    link->AskUploadStats();  // marks the end of what the log-in sent
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(1).size() >= 5; }));
    EXPECT_EQ(core.Opcodes(1), (Opcodes{0, 47, 52, 45, 49}));
    EXPECT_TRUE(
        Logged("The downloads folder /x/it's \"both\" cannot be named to the core; "
               "finished downloads stay in the core's own folder."));
}

// The downloads folder can move while the program runs: each log-in names
// the folder as it is then.
TEST_F(CoreLinkSession, EachLogInNamesTheDownloadsFolderAsItIsThen) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    SetFolder("/home/user/Moved");
    core.Drop();
    ASSERT_TRUE(LoggedInOn(1));
    EXPECT_EQ(core.Frames(0)[3], Body(BuildSetOption("incoming_directory", kFolder)));
    EXPECT_EQ(core.Frames(1)[3], Body(BuildSetOption("incoming_directory", "/home/user/Moved")));
}

TEST_F(CoreLinkSession, SilentCoreIsDroppedAndTriedAgain) {
    core.SetGreeting(ScriptedCore::Greeting::Silent, {}, 0);
    core.SetGreeting(ScriptedCore::Greeting::Hello, std::chrono::milliseconds(100), 1);
    CoreLinkConfig config;
    config.helloTimeout = std::chrono::milliseconds(600);
    Start(config);
    // The link says why once it has let the connection go, which the core
    // may notice first.
    ASSERT_TRUE(core.WaitUntil(
        [&] { return core.ClosedByPeer(0) && Count("No response, returning to reconnect") > 0; }));
    EXPECT_EQ(Count("GetHello() timeout"), 1);
    EXPECT_EQ(Count("No response, returning to reconnect"), 1);
    EXPECT_TRUE(core.Frames(0).empty());
    // The next attempt gets a hello that takes a while and logs in.
    ASSERT_TRUE(LoggedInOn(1));
    EXPECT_EQ(core.Opcodes(1), kLogIn);
}

TEST_F(CoreLinkSession, OversizedFrameIsSkippedAndTheNextOneRead) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    std::string big =
        test::FrameOf(test::Options({{"skipped", "1"}, {"pad", std::string(29900, 'p')}}));
    std::string large =
        test::FrameOf(test::Options({{"after", "2"}, {"fill", std::string(5900, 'f')}}));
    core.Send(big + large);
    ASSERT_TRUE(core.WaitUntil([&] { return link->OptionValue("after") == "2"; }));
    EXPECT_EQ(link->OptionValue("skipped"), "");
    EXPECT_EQ(Count("skipped = 1"), 0);
    EXPECT_EQ(Count("Got " + std::to_string(large.size() - 4) + " bytes"), 1);
    EXPECT_EQ(Count("Got " + std::to_string(big.size() - 4) + " bytes"), 0);
    EXPECT_FALSE(core.ClosedByPeer(0));
}

// A length no core sends would otherwise swallow every later message.
TEST_F(CoreLinkSession, ImpossibleFrameLengthDropsTheConnectionAndLogsInAgain) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    const std::string huge("\x00\x00\x00\x80", 4);
    core.Send(huge + test::FrameOf(test::Options({{"lost", "1"}})));
    ASSERT_TRUE(core.WaitUntil([&] { return core.ClosedByPeer(0); }));
    EXPECT_EQ(Count("Frame length 2147483648 is out of all bounds: stream broken"), 1);
    // The listener hears of it just after the socket has closed.
    ASSERT_TRUE(core.WaitUntil([&] { return listener.linkDown.load() >= 1; }));
    EXPECT_EQ(listener.linkDown.load(), 1);
    ASSERT_TRUE(LoggedInOn(1));
    core.Send(test::FrameOf(test::Options({{"heard", "1"}})));
    EXPECT_TRUE(core.WaitUntil([&] { return link->OptionValue("heard") == "1"; }));
    // The listener hears of a log-in just after the link counts it.
    ASSERT_TRUE(core.WaitUntil([&] { return listener.loggedIn.load() >= 2; }));
    EXPECT_EQ(listener.loggedIn.load(), 2);
}

TEST_F(CoreLinkSession, CommandsIssuedWhileDisconnectedFollowTheNextLogIn) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    core.SetGreeting(ScriptedCore::Greeting::Silent);
    core.Drop();
    ASSERT_TRUE(Logged("ReconnectToServer()"));
    ASSERT_TRUE(core.WaitUntil([&] { return core.Connections() == 2; }));
    EXPECT_FALSE(link->IsLoggedIn());
    link->PollTick();  // skipped: the log-in asks for downloads anyway
    link->SendConsoleCommand("first");
    link->SendCancelDownload(5);
    link->SendSwitchDownload(7, true);
    link->SendSetOption("max_hard_upload_rate", "0");
    core.SendHello();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(1).size() >= 10; }));
    EXPECT_EQ(AfterLogIn(1), (std::vector<std::string>{
                                 Body(BuildConsoleCommand("first")), Body(BuildCancelDownload(5)),
                                 Body(BuildSwitchDownload(7, true)),
                                 Body(BuildSetOption("max_hard_upload_rate", "0"))}));
    EXPECT_EQ(core.Opcodes(1).size(), 10u);
    // The listener hears of a log-in just after the link counts it.
    ASSERT_TRUE(core.WaitUntil([&] { return listener.loggedIn.load() >= 2; }));
    EXPECT_EQ(listener.loggedIn.load(), 2);
}

TEST_F(CoreLinkSession, CommandsLogTheirLinesAndGoOutInOrder) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    lines.Take();
    SearchTerms terms;
    terms.keywords = "abc";
    link->SendSearchQuery(0, terms);
    link->SendCloseQuery(0);
    link->SendDownloadRequest("song.mp3", 11);
    link->SendCancelDownload(3);
    link->SendSwitchDownload(3, false);
    link->SendOptionList("a", "b");
    link->SendConsoleCommand("save");
    link->SendConsoleCommand(std::string(GuiMessage::kMaxPayload, 'x'));  // too long for the core
    link->SendConsoleCommand("share /x\nshare /etc");  // would be two commands to the core
    link->PollTick();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Frames(0).size() >= 16; }));
    EXPECT_EQ(AfterLogIn(0),
              (std::vector<std::string>{
                  Body(BuildSearchQuery(0, terms)), Body(BuildCloseQuery(0)),
                  Body(BuildDownloadRequest("song.mp3", 11)), Body(BuildAskDownloadingFiles()),
                  Body(BuildCancelDownload(3)), Body(BuildSwitchDownload(3, false)),
                  Body(BuildOptionList("a", "b")), Body(BuildConsoleCommand("save")),
                  Body(BuildAskDownloadingFiles()), Body(BuildAskUploadStats())}));
    EXPECT_EQ(
        lines.Take(),
        (std::vector<std::string>{
            "Sending close query.", "Sending download request.", "Asking for downloading files",
            "Sending cancel download.", "Sending Switch Download.", "Sending option.", "save",
            std::string(GuiMessage::kMaxPayload, 'x'), "Message too long, not sent.",
            "A console command holding a line break was not sent.", "Asking for downloading files",
            "Asking for upload stats"}));
}

TEST_F(CoreLinkSession, ShutdownGoesOutOnceAndEndsTheConnection) {
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    link->SendConsoleCommand("before");
    link->SendShutdown();
    link->SendShutdown();
    link->SendConsoleCommand("after");
    ASSERT_TRUE(core.WaitUntil([&] { return core.ClosedByPeer(0); }));
    EXPECT_TRUE(link->ShutdownSent());
    EXPECT_EQ(AfterLogIn(0), (std::vector<std::string>{Body(BuildConsoleCommand("before")),
                                                       Body(BuildShutdown())}));
    EXPECT_EQ(Count("Telling server to shutdown."), 1);
    EXPECT_EQ(Count("after"), 1);  // logged, never sent
    EXPECT_EQ(core.Connections(), 1);
}

TEST_F(CoreLinkSession, CoreMessagesReachTablesAndSinks) {
    results.AddSearch(4);
    Start();
    ASSERT_TRUE(LoggedInOn(0));
    core.Send(test::FrameOf(test::Network(1, "Donkey", true)) +
              test::FrameOf(test::ClientStats({{1, 6}})) +
              test::FrameOf(test::ClassicResult(21, 1, "found.mp3", 4096)) +
              test::FrameOf(test::SearchResult(4, 21)));
    ASSERT_TRUE(core.WaitUntil([&] { return results.Results().size() == 1; }));
    EXPECT_EQ(results.Results()[0].name, "found.mp3");
    EXPECT_EQ(link->ConnectedServers(), 6);
    EXPECT_EQ(link->ClientStats().sharedFileCount, 4);
    EXPECT_EQ(listener.clientStats.load(), 1);
    EXPECT_EQ(results.Results()[0].network, "Donkey");
    EXPECT_EQ(Count("1 items in network list"), 1);
}

// Nothing listens on the port: the attempts thin out and the outage is
// logged once, not once per attempt.
TEST(CoreLinkUnreachable, AttemptsBackOffAndAreLoggedOnce) {
    StatusLog log;
    test::LogLines lines(log);
    RecordingPrompter prompter;
    SystemClock clock;
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = test::UnusedLoopbackPort();
    config.retryFirst = std::chrono::milliseconds(10);
    config.retryLongest = std::chrono::milliseconds(160);
    CoreLink link(config, log, prompter, clock);
    link.StartReceiveThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    // 10 + 20 + 40 + 80 ms, then one every 160 ms: about ten attempts; a
    // fixed 10 ms pause would make a hundred.
    EXPECT_GE(link.FailedAttempts(), 4u);
    EXPECT_LE(link.FailedAttempts(), 20u);
    const std::vector<std::string> all = lines.Copy();
    EXPECT_EQ(std::count(all.begin(), all.end(), "Error connecting."), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), "Connecting"), 1);
    EXPECT_FALSE(link.IsLoggedIn());
}

}  // namespace
}  // namespace korvana
