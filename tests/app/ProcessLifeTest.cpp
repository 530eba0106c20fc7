#include "platform/SingleInstance.h"
#include "tests/support/ChildProcess.h"
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
    fs::path LockFile() const { return dir.Path() / "run" / "Korvana MP3 Finder.lock"; }

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

TEST(ProcessLife, SecondCopyExitsSilentlyAndFirstClosesOnSigterm) {
    AppEnvironment env;
    test::ChildProcess first({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "first.out");
    ASSERT_TRUE(env.WaitUntilLocked());

    test::ChildProcess second({KORVANA_APP_PATH}, env.variables, env.dir.Path() / "second.out");
    EXPECT_EQ(second.WaitForExit(10s), std::optional<int>(0));
    EXPECT_EQ(ReadAll(env.dir.Path() / "second.out"), "");
    EXPECT_TRUE(first.IsRunning());

    first.Signal(SIGTERM);
    EXPECT_EQ(first.WaitForExit(10s), std::optional<int>(0));
    EXPECT_TRUE(fs::is_directory(env.dir.Path() / "home" / "Incomplete"));
}

}  // namespace
}  // namespace korvana
