#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/CoreProcess.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// The program and its default core laid out as a package installs them, in
// a prefix its user may write to, as /usr is for root.
struct InstalledPrefix {
    test::TempDir dir;
    fs::path program = dir.Path() / "prefix" / "bin" / "korvana";
    fs::path installedCore = dir.Path() / "prefix" / "lib" / "korvana" / "mldonkey" / "mlnet";
    fs::path userData = dir.Path() / "data" / "korvana";
    std::vector<std::string> variables{
        "KORVANA_HOME=",
        "HOME=" + (dir.Path() / "home").string(),
        "XDG_DATA_HOME=" + (dir.Path() / "data").string(),
        "XDG_CONFIG_HOME=" + (dir.Path() / "config").string(),
        "XDG_RUNTIME_DIR=" + (dir.Path() / "run").string(),
        "QT_QPA_PLATFORM=offscreen",
        "KORVANA_AUDIO=null",
    };

    InstalledPrefix() {
        for (const fs::path& file : {program, installedCore}) {
            fs::create_directories(file.parent_path());
        }
        fs::copy_file(KORVANA_APP_PATH, program);
        fs::copy_file(KORVANA_SIM_PATH, installedCore);
        fs::create_directories(dir.Path() / "run");
        fs::permissions(dir.Path() / "run", fs::perms::owner_all);
        const int port = test::UnusedLoopbackPort();
        fs::create_directories(userData / "mldonkey");
        std::ofstream(userData / "mldonkey" / "downloads.ini") << " gui_port = " << port << "\n";
        fs::create_directories(dir.Path() / "config" / "Korvana");
        std::ofstream(dir.Path() / "config" / "Korvana" / "Korvana.ini")
            << "[Software]\nKorvana\\CorePort=" << port
            << "\nKorvana\\Engine1Url=http://127.0.0.1:9\nKorvana\\Engine2Url=http://127.0.0.1:9"
               "\nKorvana\\Engine3Url=http://127.0.0.1:9\nKorvana\\VendorUrl=http://127.0.0.1:9\n";
    }
};

// Run from a writable program folder that is an installation, the program
// keeps the user's folders in their data folder, not among the programs, and
// runs the installed core there. Named with the other tests that start the
// program, so that it is left out with them where the program is not built.
TEST(ProcessLife, AnInstalledProgramKeepsTheUsersFoldersApartAndRunsTheInstalledCore) {
    InstalledPrefix prefix;
    test::ChildProcess app({prefix.program.string()}, prefix.variables,
                           prefix.dir.Path() / "app.out");
    const fs::path log = prefix.userData / "korvana.log";
    ASSERT_TRUE(WaitForText(log, "Asking for downloading files")) << ReadAll(log);
    const PosixCoreProcess core(prefix.userData / "mldonkey", prefix.installedCore);
    EXPECT_TRUE(core.IsCoreRunning());
    EXPECT_TRUE(fs::exists(prefix.userData / "mldonkey" / "mlnet.log"));
    EXPECT_FALSE(fs::exists(prefix.userData / "mldonkey" / "mlnet"));
    for (const char* folder : {"Downloads", "Incomplete", "TempPlay"}) {
        EXPECT_TRUE(fs::is_directory(prefix.userData / folder)) << folder;
        EXPECT_FALSE(fs::exists(prefix.program.parent_path() / folder)) << folder;
    }
    EXPECT_FALSE(fs::exists(prefix.program.parent_path() / "korvana.log"));

    app.Signal(SIGTERM);
    EXPECT_EQ(app.WaitForExit(15s), std::optional<int>(0));
    for (int i = 0; i < 500 && core.IsCoreRunning(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(core.IsCoreRunning());
}

}  // namespace
}  // namespace korvana
