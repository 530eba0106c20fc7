// The program against a real MLDonkey core that is not its own: one whose
// admin has a password and that accepts GUI connections from allowed
// addresses only. The core runs on loopback in the test's namespace, so the
// settings' remote choice says it is not ours.
#include <gtest/gtest.h>

#include <string>

#include "app/CoreConfig.h"
#include "app/StartupSequences.h"
#include "core/CoreLogin.h"
#include "platform/CoreProcess.h"
#include "tests/realcore/RealCoreWorld.h"

namespace korvana::realcore {
namespace {

constexpr char kPassword[] = "Remote-Pass7";
constexpr std::uint16_t kGuiPort = 4001;

std::size_t Occurrences(const std::string& text, const std::string& word) {
    std::size_t count = 0;
    for (std::size_t at = text.find(word); at != std::string::npos;
         at = text.find(word, at + word.size())) {
        ++count;
    }
    return count;
}

class RemoteCoreTest : public RealCoreWorld {
  protected:
    void SetUp() override {
        RealCoreWorld::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        const std::string changed = Console(std::string("useradd admin ") + kPassword);
        ASSERT_NE(changed.find("Password of user admin changed"), std::string::npos) << changed;
        core->SetConsoleLogin("admin", kPassword);
        CoreSettings remote;
        remote.host = "127.0.0.1";
        remote.port = kGuiPort;
        remote.credentials.password = kPassword;
        remote.remoteChosen = true;
        ASSERT_EQ(WriteCoreSettings(settings, remote), CoreSettingsSaved::Saved);
    }

    CoreLoginOutcome Probe(const std::string& password) {
        CoreLoginTarget target{"127.0.0.1", kGuiPort, {"admin", password}};
        return ProbeCoreLogin(target);
    }
};

TEST_F(RemoteCoreTest, TestConnectionTellsTheRightPasswordFromAWrongOne) {
    EXPECT_EQ(Probe(kPassword), CoreLoginOutcome::Connected);
    EXPECT_EQ(Probe("wrong"), CoreLoginOutcome::WrongPassword);
    EXPECT_EQ(Probe(""), CoreLoginOutcome::WrongPassword);
}

// Logged in with the password, the program lists the core's shares from its
// console and does not make our downloads folder (a path on this computer)
// the core's folder for finished files.
TEST_F(RemoteCoreTest, LogsInWithThePasswordAndLeavesTheCoresFoldersAlone) {
    const std::string before = Console("shares");
    ASSERT_NE(before.find("Shared directories:"), std::string::npos) << before;
    ConnectLink();
    EXPECT_FALSE(link->LoginRefused());
    const std::string after = Console("shares");
    EXPECT_EQ(after.find(DownloadsFolder().string()), std::string::npos) << after;
    EXPECT_EQ(after, before);
}

// A wrong password is said once, plainly, and the core is not hammered:
// the link asks again only now and then and never counts as logged in.
TEST_F(RemoteCoreTest, WrongPasswordIsToldOnceAndTheCoreIsNotHammered) {
    settings.Write("CorePassword", "wrong");
    CoreLinkConfig config =
        ReadCoreLinkConfig(settings, [this] { return DownloadsFolder().string(); });
    link = std::make_unique<CoreLink>(config, log, prompter, clock);
    std::vector<std::string> lines;
    std::mutex linesMutex;
    log.AttachViewer([&](const std::string& line) {
        const std::lock_guard lock(linesMutex);
        lines.push_back(line);
    });
    link->StartReceiveThread();
    ASSERT_TRUE(Eventually([&] { return link->LoginRefused(); }, 20s));
    std::this_thread::sleep_for(6s);
    EXPECT_FALSE(link->IsLoggedIn());
    // One attempt per five seconds at most: at once again would be hundreds.
    const std::size_t refusals = Occurrences(core->Log(), "BAD PASSWORD");
    EXPECT_GE(refusals, 1u);
    EXPECT_LE(refusals, 4u) << core->Log();
    {
        const std::lock_guard lock(linesMutex);
        const std::string told =
            LoginOutcomeText(CoreLoginOutcome::WrongPassword, "127.0.0.1", kGuiPort);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), told), 1);
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find(kPassword), std::string::npos) << line;
        }
    }
    // Corrected in the settings, the password is used at the next attempt.
    settings.Write("CorePassword", kPassword);
    EXPECT_TRUE(Eventually([&] { return link->IsLoggedIn(); }, 20s));
    EXPECT_FALSE(link->LoginRefused());
}

// Exit: no shutdown message, no signal; the core keeps running and still
// answers after our link is gone.
TEST_F(RemoteCoreTest, ExitLeavesTheCoreRunning) {
    ConnectLink();
    PosixCoreProcess ours(dir.Path() / "no-core-of-ours");
    CoreStopper stopper(clock, ours, {}, IsRemoteCore(ReadCoreSettings(settings)));
    ASSERT_FALSE(stopper.Start([this] { link->SendShutdown(); }));
    ASSERT_TRUE(Eventually([&] { return stopper.Poll(); }, 10s));
    EXPECT_FALSE(link->ShutdownSent());
    link.reset();
    std::this_thread::sleep_for(2s);
    EXPECT_TRUE(core->IsRunning());
    const std::string version = Console("version");
    EXPECT_NE(version, "(no console)");
}

}  // namespace
}  // namespace korvana::realcore
