#include "desktop/RaiseSocket.h"
#include "platform/CoreProcess.h"
#include "platform/SingleInstance.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

namespace korvana {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the real program without a display, with every folder it touches
// inside a temporary folder.
struct AppEnvironment {
    test::TempDir dir;
    std::vector<std::string> variables{
        "KORVANA_HOME=" + (dir.Path() / "home").string(),
        "XDG_RUNTIME_DIR=" + (dir.Path() / "run").string(),
        "XDG_CONFIG_HOME=" + (dir.Path() / "config").string(),
        "QT_QPA_PLATFORM=offscreen",
    };
    AppEnvironment() {
        fs::create_directories(dir.Path() / "run");
        fs::permissions(dir.Path() / "run", fs::perms::owner_all);
    }
    fs::path LockFile() const { return SingleInstance::DefaultLockFile(dir.Path() / "home"); }

    bool WaitUntilLocked() const {
        for (int i = 0; i < 1000; ++i) {
            if (fs::exists(LockFile()) && !SingleInstance(LockFile()).IsFirst()) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }
};

TEST(ProcessLife, SecondCopyRaisesTheFirstAndFirstClosesOnSigterm) {
    AppEnvironment env;
    test::ChildProcess first({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "first.out");
    ASSERT_TRUE(env.WaitUntilLocked());

    test::ChildProcess second({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "second.out");
    EXPECT_EQ(second.WaitForExit(20s), std::optional<int>(0));
    EXPECT_EQ(ReadAll(env.dir.Path() / "second.out"), std::string(kRaisedText) + "\n");
    EXPECT_TRUE(first.IsRunning());

    first.Signal(SIGTERM);
    EXPECT_EQ(first.WaitForExit(10s), std::optional<int>(0));
    EXPECT_TRUE(fs::is_directory(env.dir.Path() / "home" / "Incomplete"));
}

bool WaitForText(const fs::path& file, const std::string& text) {
    for (int i = 0; i < 1500; ++i) {
        if (ReadAll(file).find(text) != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Puts the simulated core where the program looks for its core, on a free
// port; returns the core folder.
fs::path PlaceSimulatedCore(const AppEnvironment& env) {
    const fs::path coreFolder = env.dir.Path() / "home" / "mldonkey";
    fs::create_directories(coreFolder);
    fs::copy_file(KORVANA_SIM_PATH, coreFolder / "mlnet");
    const int port = test::UnusedLoopbackPort();
    std::ofstream(coreFolder / "downloads.ini") << " gui_port = " << port << "\n";
    fs::create_directories(env.dir.Path() / "config" / "Korvana");
    std::ofstream(env.dir.Path() / "config" / "Korvana" / "Korvana.ini")
        << "[Software]\nKorvana\\CorePort=" << port << "\n";
    return coreFolder;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// The id of a process running `executable`, or 0.
pid_t ProcessRunning(const fs::path& executable) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/proc", ec)) {
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(entry.path() / "exe", linkError);
        const std::string name = entry.path().filename().string();
        if (!linkError && exe == fs::weakly_canonical(executable) &&
            name.find_first_not_of("0123456789") == std::string::npos) {
            return static_cast<pid_t>(std::stoi(name));
        }
    }
    return 0;
}

TEST(ProcessLife, LaunchesTheCoreLogsInAndShutsItDownOnClose) {
    AppEnvironment env;
    const fs::path home = env.dir.Path() / "home";
    const fs::path coreFolder = PlaceSimulatedCore(env);

    test::ChildProcess app({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "app.out");
    const fs::path log = home / "korvana.log";
    ASSERT_TRUE(WaitForText(log, "Asking for downloading files")) << ReadAll(log);
    const std::string login = ReadAll(log);
    for (const char* line :
         {"Connecting", "Connected to server.", "Received a hello opcode", "Sending Hello.",
          "Sending Password.", "Password sent.", "Sending option."}) {
        EXPECT_NE(login.find(std::string(line) + "\n"), std::string::npos) << line;
    }
    const PosixCoreProcess core(coreFolder);
    EXPECT_TRUE(core.IsCoreRunning());

    app.Signal(SIGTERM);
    EXPECT_EQ(app.WaitForExit(15s), std::optional<int>(0));
    EXPECT_NE(ReadAll(log).find("Telling server to shutdown."), std::string::npos);
    for (int i = 0; i < 500 && core.IsCoreRunning(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(core.IsCoreRunning());
}

// Only the core this object started is signalled, and the signal reaches it.
TEST(CoreProcess, StopsTheCoreItStartedAndNoOther) {
    AppEnvironment env;
    const fs::path coreFolder = PlaceSimulatedCore(env);
    PosixCoreProcess starter(coreFolder);
    EXPECT_FALSE(starter.SignalStartedCore(false));  // nothing started yet
    starter.LaunchCore();
    ASSERT_GT(starter.StartedPid(), 0);
    for (int i = 0; i < 500 && !starter.IsCoreRunning(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(starter.IsCoreRunning());
    EXPECT_EQ(ProcessRunning(coreFolder / "mlnet"), starter.StartedPid());

    PosixCoreProcess finder(coreFolder);
    EXPECT_TRUE(finder.IsCoreRunning());
    EXPECT_FALSE(finder.SignalStartedCore(true));  // found, not started: left alone

    EXPECT_TRUE(starter.SignalStartedCore(true));
    for (int i = 0; i < 500 && starter.IsCoreRunning(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(starter.IsCoreRunning());
    EXPECT_FALSE(starter.SignalStartedCore(true));  // gone: nothing to signal
}

TEST(ProcessLife, CoreThatDiesIsStartedAgainAndLoggedInto) {
    AppEnvironment env;
    const fs::path coreFolder = PlaceSimulatedCore(env);
    test::ChildProcess app({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "app.out");
    const fs::path log = env.dir.Path() / "home" / "korvana.log";
    ASSERT_TRUE(WaitForText(log, "Password sent.")) << ReadAll(log);
    const pid_t first = ProcessRunning(coreFolder / "mlnet");
    ASSERT_GT(first, 0);
    kill(first, SIGKILL);

    ASSERT_TRUE(WaitForText(log, "The core is not running: starting it again.")) << ReadAll(log);
    bool loggedInAgain = false;
    for (int i = 0; i < 1500 && !loggedInAgain; ++i) {
        loggedInAgain = Occurrences(ReadAll(log), "Password sent.\n") >= 2;
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(loggedInAgain) << ReadAll(log);
    const pid_t second = ProcessRunning(coreFolder / "mlnet");
    EXPECT_GT(second, 0);
    EXPECT_NE(second, first);

    app.Signal(SIGTERM);
    EXPECT_EQ(app.WaitForExit(15s), std::optional<int>(0));
    for (int i = 0; i < 500 && ProcessRunning(coreFolder / "mlnet") != 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(ProcessRunning(coreFolder / "mlnet"), 0);
}

// A core of ours that ignores both the shutdown message and SIGTERM is
// killed, each step is logged, and the program still exits in time.
TEST(ProcessLife, CoreThatIgnoresShutdownIsKilledAtExit) {
    AppEnvironment env;
    env.variables.push_back("KORVANA_SIM_IGNORE_SHUTDOWN=1");
    const fs::path coreFolder = PlaceSimulatedCore(env);
    test::ChildProcess app({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "app.out");
    const fs::path log = env.dir.Path() / "home" / "korvana.log";
    ASSERT_TRUE(WaitForText(log, "Password sent.")) << ReadAll(log);
    ASSERT_GT(ProcessRunning(coreFolder / "mlnet"), 0);

    app.Signal(SIGTERM);
    EXPECT_EQ(app.WaitForExit(20s), std::optional<int>(0));
    const std::string said = ReadAll(log);
    EXPECT_NE(said.find("Telling server to shutdown."), std::string::npos);
    EXPECT_NE(said.find("sent it SIGTERM."), std::string::npos) << said;
    EXPECT_NE(said.find("sent it SIGKILL."), std::string::npos) << said;
    for (int i = 0; i < 500 && ProcessRunning(coreFolder / "mlnet") != 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(ProcessRunning(coreFolder / "mlnet"), 0);
}

// The core we start must listen on loopback only: a core started without
// bind addresses opens its GUI, console and web ports on every interface.
TEST(ProcessLife, CoreIsLaunchedBoundToLoopback) {
    test::TempDir dir;
    const fs::path seen = dir.Path() / "arguments";
    std::ofstream(dir.Path() / "mlnet") << "#!/bin/sh\necho \"$@\" > '" << seen.string() << "'\n";
    fs::permissions(dir.Path() / "mlnet", fs::perms::owner_all);
    PosixCoreProcess core(dir.Path());
    core.LaunchCore();
    for (int i = 0; i < 500 && ReadAll(seen).empty(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(ReadAll(seen),
              "-gui_bind_addr 127.0.0.1 -telnet_bind_addr 127.0.0.1 -http_bind_addr 127.0.0.1\n");
}

}  // namespace
}  // namespace korvana
