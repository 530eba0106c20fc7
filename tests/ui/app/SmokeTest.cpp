#include <gtest/gtest.h>
#include <QTest>

#include <csignal>

#include "app/CoreConfig.h"
#include "app/ui/CoreLinkBridge.h"
#include "app/ui/KeyFilter.h"
#include "app/ui/MainWindow.h"
#include "controls/SkinButton.h"
#include "core/CoreLink.h"
#include "platform/CoreProcess.h"
#include "platform/DesktopOpener.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

// The simulated core as the window sees it: running until it has exited.
class SimulatedCore final : public CoreProcess {
  public:
    explicit SimulatedCore(sim::test::SimProcess& sim) : sim_(sim) {}
    bool IsCoreRunning() const override {
        if (!exitStatus_) {
            exitStatus_ = sim_.WaitForExit(std::chrono::milliseconds(0));
        }
        return !exitStatus_;
    }
    std::optional<int> ExitStatus() const { return exitStatus_; }
    void LaunchCore() override {}

  private:
    sim::test::SimProcess& sim_;
    mutable std::optional<int> exitStatus_;
};

// The window, the core link and the simulated core together: the status row
// shows the servers the core reports, F2 to F4 switch pages, and closing
// shuts the core down.
TEST(Smoke, WindowConnectsShowsServersSwitchesPagesAndStopsTheCore) {
    test::TempDir dir;
    sim::test::SimProcess sim(dir.Path(), {});
    const Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                          dir.Path() / "TempPlay", dir.Path() / "core"};
    SystemClock clock;
    StatusLog log;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    SimulatedCore core(sim);
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = static_cast<std::uint16_t>(sim.Port());
    config.downloadsFolder = [&folders] { return folders.downloads.string(); };
    CoreLink link(config, log, prompter, clock);
    CoreLinkBridge bridge(link);
    link.SetListener(&bridge);

    MainWindowServices services{folders, clock, core, prompter, opener};
    services.sendShutdown = [&link] { link.SendShutdown(); };
    services.readStatus = [&link] { return CoreStatusInputs(link); };
    MainWindow window(std::move(services));
    QObject::connect(&bridge, &CoreLinkBridge::ClientStatsArrived, &window,
                     &MainWindow::RefreshStatusPanes);
    KeyFilter keys([&window](int page) { window.ShowPage(page); });
    qApp->installEventFilter(&keys);
    window.show();
    link.StartReceiveThread();

    auto* servers = window.findChild<SkinButton*>(QStringLiteral("IDC_SERVERS_PANE"));
    EXPECT_TRUE(test::WaitUntil(
        [&] { return servers->Text().startsWith(QStringLiteral("Connected to ")); }, 15000))
        << servers->Text().toStdString();
    EXPECT_TRUE(bridge.IsPolling());

    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_EQ(window.VisiblePage(), 1);
    QTest::keyClick(&window, Qt::Key_F4);
    EXPECT_EQ(window.VisiblePage(), 2);
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_EQ(window.VisiblePage(), 0);

    window.StartCloseSequence();
    EXPECT_TRUE(test::WaitUntil([&] { return !core.IsCoreRunning(); }, 15000));
    EXPECT_EQ(core.ExitStatus(), std::optional<int>(0));
    qApp->removeEventFilter(&keys);
}

// The core killed under a logged-in window: the status row stops showing
// the core's last figures and says the core is not connected.
TEST(Smoke, StatusRowSaysNotConnectedOnceTheCoreIsGone) {
    test::TempDir dir;
    sim::test::SimProcess sim(dir.Path(), {});
    SystemClock clock;
    StatusLog log;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    SimulatedCore core(sim);
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = static_cast<std::uint16_t>(sim.Port());
    CoreLink link(config, log, prompter, clock);
    CoreLinkBridge bridge(link);
    link.SetListener(&bridge);
    const Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                          dir.Path() / "TempPlay", dir.Path() / "core"};
    MainWindowServices services{folders, clock, core, prompter, opener};
    services.readStatus = [&link] { return CoreStatusInputs(link); };
    MainWindow window(std::move(services));
    QObject::connect(&bridge, &CoreLinkBridge::ClientStatsArrived, &window,
                     &MainWindow::RefreshStatusPanes);
    QObject::connect(&bridge, &CoreLinkBridge::LinkChanged, &window,
                     &MainWindow::RefreshStatusPanes);
    window.show();
    link.StartReceiveThread();

    auto* servers = window.findChild<SkinButton*>(QStringLiteral("IDC_SERVERS_PANE"));
    auto* bandwidth = window.findChild<SkinButton*>(QStringLiteral("IDC_BANDWIDTH_PANE"));
    ASSERT_TRUE(test::WaitUntil(
        [&] { return servers->Text().startsWith(QStringLiteral("Connected to ")); }, 15000))
        << servers->Text().toStdString();
    EXPECT_TRUE(bridge.IsPolling());

    sim.Signal(SIGKILL);
    EXPECT_TRUE(test::WaitUntil(
        [&] { return servers->Text() == QStringLiteral("Core not connected"); }, 15000))
        << servers->Text().toStdString();
    EXPECT_EQ(bandwidth->Text(), QStringLiteral("  0.0 KB/s down :  0.0 KB/s up"));
    EXPECT_FALSE(bridge.IsPolling());
}

}  // namespace
}  // namespace korvana
