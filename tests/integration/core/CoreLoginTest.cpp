#include "core/CoreLogin.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/CoreLink.h"
#include "tests/core/CoreFrames.h"
#include "tests/core/DispatchTestSupport.h"
#include "tests/integration/core/ScriptedCore.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/RecordingPrompter.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::ScriptedCore;
using Answer = ScriptedCore::PasswordAnswer;

constexpr char kSecret[] = "Zq7-secret-Zq7";

class CoreLinkLogIn : public ::testing::Test {
  protected:
    void Start(bool remote = false) {
        CoreLinkConfig config;
        config.host = "127.0.0.1";
        config.port = core.Port();
        config.downloadsFolder = [] { return std::string("/home/user/Downloads"); };
        config.credentials = [this] {
            const std::lock_guard lock(mutex);
            return credentials;
        };
        config.remoteCore = remote;
        config.retryFirst = 10ms;
        config.retryLongest = 300ms;
        link = std::make_unique<CoreLink>(config, log, prompter, clock);
        link->SetListener(&listener);
        link->StartReceiveThread();
    }
    void SetPassword(std::string password) {
        const std::lock_guard lock(mutex);
        credentials.password = std::move(password);
    }
    long Count(const std::string& line) const {
        const std::vector<std::string> all = lines.Copy();
        return std::count(all.begin(), all.end(), line);
    }

    std::mutex mutex;
    CoreCredentials credentials{"korvana", kSecret};
    ScriptedCore core;
    StatusLog log;
    test::LogLines lines{log};
    test::RecordingPrompter prompter;
    SystemClock clock;
    test::CountingListener listener;
    std::unique_ptr<CoreLink> link;
};

TEST_F(CoreLinkLogIn, SendsTheUserAndPasswordItIsGiven) {
    Start();
    // The listener hears of the log-in just after the link counts it.
    ASSERT_TRUE(core.WaitUntil([&] { return link->IsLoggedIn() && listener.loggedIn.load() > 0; }));
    ASSERT_GE(core.Frames(0).size(), 3u);
    EXPECT_EQ(core.Frames(0)[2], test::BodyOf(BuildPassword(kSecret, "korvana")));
    EXPECT_FALSE(link->LoginRefused());
    EXPECT_EQ(listener.loggedIn.load(), 1);
}

TEST_F(CoreLinkLogIn, IsNotLoggedInBeforeTheCoreAnswersThePassword) {
    core.SetGreeting(ScriptedCore::Greeting::Hello);
    core.SetPasswordAnswer(Answer::HangUp);
    Start();
    ASSERT_TRUE(core.WaitUntil([&] { return link->LoginRefused(); }));
    EXPECT_FALSE(link->IsLoggedIn());
    EXPECT_EQ(listener.loggedIn.load(), 0);
    EXPECT_EQ(listener.linkDown.load(), 0);
}

// Before, a refused log-in counted as a log-in: the link reconnected at
// once, over and over, and the user saw nothing but a flickering status.
TEST_F(CoreLinkLogIn, RefusalIsToldOnceAndTheCoreIsAskedOnlyNowAndThen) {
    for (const Answer answer : {Answer::Refuse, Answer::HangUp}) {
        SCOPED_TRACE(answer == Answer::Refuse ? "refused" : "hung up");
        core.SetPasswordAnswer(answer);
        listener.loginRefused = 0;
        lines.Take();
        Start();
        ASSERT_TRUE(core.WaitUntil([&] { return link->LoginRefused(); }));
        const int before = core.Connections();
        std::this_thread::sleep_for(1s);
        // One attempt per 300 ms at most; at once again would be hundreds.
        EXPECT_LE(core.Connections() - before, 5);
        EXPECT_GE(core.Connections() - before, 1);
        EXPECT_EQ(listener.loginRefused.load(), 1);
        EXPECT_EQ(
            Count(LoginOutcomeText(CoreLoginOutcome::WrongPassword, "127.0.0.1", core.Port())), 1);
        EXPECT_FALSE(link->IsLoggedIn());
        link.reset();
    }
}

TEST_F(CoreLinkLogIn, CorrectedPasswordLogsInAtTheNextAttempt) {
    core.SetPasswordAnswer(Answer::Refuse);
    Start();
    ASSERT_TRUE(core.WaitUntil([&] { return link->LoginRefused(); }));
    SetPassword("right");
    core.SetPasswordAnswer(Answer::Accept);
    ASSERT_TRUE(core.WaitUntil([&] { return link->IsLoggedIn(); }));
    EXPECT_FALSE(link->LoginRefused());
    EXPECT_EQ(Count("The core accepted the user name and password."), 1);
    const std::vector<std::string> frames = core.Frames(core.Connections() - 1);
    ASSERT_GE(frames.size(), 3u);
    EXPECT_EQ(frames[2], test::BodyOf(BuildPassword("right", "korvana")));
}

TEST_F(CoreLinkLogIn, PasswordNeverReachesTheStatusLog) {
    core.SetPasswordAnswer(Answer::Refuse);
    Start();
    ASSERT_TRUE(core.WaitUntil([&] { return core.Connections() >= 2; }));
    core.SetPasswordAnswer(Answer::Accept);
    ASSERT_TRUE(core.WaitUntil([&] { return link->IsLoggedIn(); }));
    link.reset();
    for (const std::string& line : lines.Copy()) {
        EXPECT_EQ(line.find(kSecret), std::string::npos) << line;
    }
}

// Our downloads folder is a path on this computer; a core elsewhere keeps
// its own folder for finished downloads.
TEST_F(CoreLinkLogIn, RemoteCoreIsNotToldOurDownloadsFolder) {
    const std::vector<std::pair<ScriptedCore::Greeting, std::vector<int>>> cases = {
        {ScriptedCore::Greeting::Hello, {0, 47, 52, 45, 49}},
        {ScriptedCore::Greeting::RealHello, {0, 47, 52, 45, 29, 49}}};
    for (const auto& [greeting, expected] : cases) {
        core.SetGreeting(greeting);
        const int connection = core.Connections();
        Start(true);
        ASSERT_TRUE(core.WaitUntil([&] { return link->IsLoggedIn(); }));
        link->AskUploadStats();  // marks the end of what the log-in sent
        ASSERT_TRUE(core.WaitUntil([&] {
            const std::vector<int> opcodes = core.Opcodes(connection);
            return !opcodes.empty() && opcodes.back() == 49;
        }));
        EXPECT_EQ(core.Opcodes(connection), expected);
        if (greeting == ScriptedCore::Greeting::RealHello) {
            EXPECT_EQ(core.Frames(connection)[4], test::BodyOf(BuildConsoleCommand("shares")));
        }
        link.reset();
    }
}

class CoreLoginProbe : public ::testing::Test {
  protected:
    CoreLoginOutcome Probe(std::uint16_t port, int interruptFd = -1) {
        CoreLoginTarget target;
        target.host = "127.0.0.1";
        target.port = port;
        target.credentials = {"admin", kSecret};
        target.timeout = 2s;
        return ProbeCoreLogin(target, interruptFd);
    }
    ScriptedCore core;
};

TEST_F(CoreLoginProbe, AcceptedPasswordIsConnected) {
    EXPECT_EQ(Probe(core.Port()), CoreLoginOutcome::Connected);
    EXPECT_EQ(core.Frames(0).at(2), test::BodyOf(BuildPassword(kSecret, "admin")));
}

TEST_F(CoreLoginProbe, RefusalOrHangUpAfterThePasswordIsAWrongPassword) {
    core.SetPasswordAnswer(Answer::Refuse);
    EXPECT_EQ(Probe(core.Port()), CoreLoginOutcome::WrongPassword);
    core.SetPasswordAnswer(Answer::HangUp);
    EXPECT_EQ(Probe(core.Port()), CoreLoginOutcome::WrongPassword);
}

TEST_F(CoreLoginProbe, NothingListeningIsRefused) {
    EXPECT_EQ(Probe(test::UnusedLoopbackPort()), CoreLoginOutcome::Refused);
}

TEST_F(CoreLoginProbe, SilentCoreTimesOut) {
    core.SetGreeting(ScriptedCore::Greeting::Silent);
    EXPECT_EQ(Probe(core.Port()), CoreLoginOutcome::TimedOut);
}

// A core that does not accept this computer closes the connection before
// it greets.
TEST_F(CoreLoginProbe, HangUpBeforeTheGreetingIsNotAllowed) {
    core.SetGreeting(ScriptedCore::Greeting::Silent);
    std::thread dropper([&] {
        if (core.WaitUntil([&] { return core.Connections() == 1; })) {
            core.Drop();
        }
    });
    EXPECT_EQ(Probe(core.Port()), CoreLoginOutcome::NotAllowed);
    dropper.join();
}

TEST_F(CoreLoginProbe, InterruptEndsTheWaitAsCancelled) {
    core.SetGreeting(ScriptedCore::Greeting::Silent);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    std::thread stopper([&] {
        core.WaitUntil([&] { return core.Connections() == 1; });
        [[maybe_unused]] const ssize_t written = write(pipeFds[1], "x", 1);
    });
    EXPECT_EQ(Probe(core.Port(), pipeFds[0]), CoreLoginOutcome::Cancelled);
    stopper.join();
    close(pipeFds[0]);
    close(pipeFds[1]);
}

// A cancel that comes while the connection is being made is a cancel, not a
// refusal, even when the connection completes at the same moment.
TEST_F(CoreLoginProbe, AnInterruptDuringTheConnectIsCancelledNotRefused) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    ASSERT_EQ(write(pipeFds[1], "x", 1), 1);
    for (int attempt = 0; attempt < 20; ++attempt) {
        EXPECT_EQ(Probe(core.Port(), pipeFds[0]), CoreLoginOutcome::Cancelled);
    }
    close(pipeFds[0]);
    close(pipeFds[1]);
}

TEST(CoreLoginText, EachOutcomeSaysPlainlyWhatHappenedAndWhere) {
    const std::vector<std::pair<CoreLoginOutcome, std::string>> expected = {
        {CoreLoginOutcome::Connected, "Connected"},
        {CoreLoginOutcome::WrongPassword, "Wrong user name or password"},
        {CoreLoginOutcome::Refused, "Connection refused"},
        {CoreLoginOutcome::TimedOut, "Timed out"},
        {CoreLoginOutcome::NotAllowed, "allowed_ips"}};
    for (const auto& [outcome, words] : expected) {
        const std::string text = LoginOutcomeText(outcome, "nas.lan", 4101);
        EXPECT_NE(text.find(words), std::string::npos) << text;
        EXPECT_NE(text.find("nas.lan:4101"), std::string::npos) << text;
    }
    EXPECT_NE(LoginOutcomeText(CoreLoginOutcome::Refused, "fe80::1", 4001).find("[fe80::1]:4001"),
              std::string::npos);
}

}  // namespace
}  // namespace korvana
