#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <csignal>

#include "controls/SkinButton.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "tests/ui/app/ComposedApp.h"

namespace korvana {
namespace {

// The simulated core as the program sees it: running until it has exited.
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

// The program as it is composed for the desktop, on stand-ins, beside a
// simulated core already running; the splash has ended.
class SmokeTest : public ::testing::Test {
  protected:
    SmokeTest() {
        auto made = std::make_unique<SimulatedCore>(sim);
        core = made.get();
        composed = std::make_unique<test::ComposedApp>(
            dir.Path() / "install", clock, std::move(made), static_cast<std::uint16_t>(sim.Port()));
        app = composed->app.get();
        app->Start(*qApp);
        // As the splash's timer would after six seconds.
        app->Splash()->accept();
    }

    SkinButton* Pane(const char* name) {
        return app->Window().findChild<SkinButton*>(QString::fromLatin1(name));
    }

    bool WaitUntilConnected() {
        return test::WaitUntil(
            [&] { return Pane("IDC_SERVERS_PANE")->Text().startsWith("Connected to "); }, 15000);
    }

    test::TempDir dir;
    sim::test::SimProcess sim{dir.Path(), {}};
    SystemClock clock;
    SimulatedCore* core = nullptr;
    std::unique_ptr<test::ComposedApp> composed;
    FinderApp* app = nullptr;
};

// The status row shows the servers the core reports, F2 to F4 switch pages,
// and closing shuts the core down and ends the program.
TEST_F(SmokeTest, WindowConnectsShowsServersSwitchesPagesAndStopsTheCore) {
    MainWindow& window = app->Window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(WaitUntilConnected()) << Pane("IDC_SERVERS_PANE")->Text().toStdString();
    EXPECT_TRUE(app->Bridge().IsPolling());

    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_EQ(window.VisiblePage(), 1);
    QTest::keyClick(&window, Qt::Key_F4);
    EXPECT_EQ(window.VisiblePage(), 2);
    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_EQ(window.VisiblePage(), 0);

    // The program's event loop ends with status 0 once the core is gone;
    // the bound ends it with 1 should the close sequence hang.
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QApplication::exit(1); });
    bound.start(15000);
    window.StartCloseSequence();
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(core->IsCoreRunning());
    EXPECT_EQ(core->ExitStatus(), std::optional<int>(0));
}

// The core killed under a logged-in window: the status row stops showing
// the core's last figures and says the core is not connected.
TEST_F(SmokeTest, StatusRowSaysNotConnectedOnceTheCoreIsGone) {
    ASSERT_TRUE(WaitUntilConnected()) << Pane("IDC_SERVERS_PANE")->Text().toStdString();
    EXPECT_TRUE(app->Bridge().IsPolling());

    sim.Signal(SIGKILL);
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Pane("IDC_SERVERS_PANE")->Text() == QStringLiteral("Core not connected"); },
        15000))
        << Pane("IDC_SERVERS_PANE")->Text().toStdString();
    EXPECT_EQ(Pane("IDC_BANDWIDTH_PANE")->Text(), QStringLiteral("  0.0 KB/s down :  0.0 KB/s up"));
    EXPECT_FALSE(app->Bridge().IsPolling());
}

}  // namespace
}  // namespace korvana
