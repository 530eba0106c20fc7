#include <gtest/gtest.h>
#include <QSignalSpy>

#include "app/ui/MainWindow.h"
#include "app/ui/ShutdownDialog.h"
#include "app/ui/SplashDialog.h"
#include "platform/CoreProcess.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "tests/ui/app/ComposedApp.h"

#include <fstream>

namespace korvana {
namespace {

TEST(SplashDialog, StepsThroughTextsAndAccepts) {
    SplashDialog splash;
    QSignalSpy accepted(&splash, &QDialog::accepted);
    EXPECT_EQ(splash.LineText(), QString());
    splash.Tick();
    EXPECT_EQ(splash.LineText(), QStringLiteral("Loading configuration files"));
    for (int i = 0; i < 4; ++i) {
        splash.Tick();
    }
    EXPECT_EQ(splash.LineText(), QStringLiteral("Starting flux capacitor"));
    EXPECT_EQ(accepted.count(), 0);
    splash.Tick();
    EXPECT_EQ(accepted.count(), 1);
}

TEST(ShutdownDialog, BarClimbsAndWraps) {
    ShutdownDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Shutting Down Korvana MP3 Finder"));
    for (int i = 0; i < 99; ++i) {
        dialog.Tick();
    }
    EXPECT_EQ(dialog.BarPosition(), 99);
    dialog.Tick();
    EXPECT_EQ(dialog.BarPosition(), 1);
}

class FakeCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override { return running; }
    void LaunchCore() override {}
    bool running = false;
};

// The program composed on stand-ins, its core given by `core`, whose
// running flag the test sets; the clock does not move by itself.
struct ComposedFixture {
    ComposedFixture() {
        auto made = std::make_unique<FakeCore>();
        core = made.get();
        composed = std::make_unique<test::ComposedApp>(dir.Path(), clock, std::move(made));
    }
    MainWindow& Window() { return composed->app->Window(); }
    const Folders& Paths() const { return composed->app->Paths(); }
    int ShutdownsTold() const { return composed->LogLinesEqualTo("Telling server to shutdown."); }

    test::TempDir dir;
    test::FakeClock clock;
    FakeCore* core = nullptr;
    std::unique_ptr<test::ComposedApp> composed;
};

TEST(MainWindowClose, WithoutACoreFinishesAtOnce) {
    ComposedFixture f;
    f.Window().show();
    QSignalSpy finished(&f.Window(), &MainWindow::Finished);
    f.Window().close();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(f.ShutdownsTold(), 0);
    EXPECT_FALSE(f.Window().isVisible());
}

TEST(MainWindowClose, TellsARunningCoreOnceAndWaitsForIt) {
    ComposedFixture f;
    f.core->running = true;
    f.Window().show();
    QSignalSpy finished(&f.Window(), &MainWindow::Finished);
    f.Window().close();
    f.Window().StartCloseSequence();  // a second request (say SIGTERM) changes nothing
    EXPECT_FALSE(f.Window().isVisible());
    EXPECT_EQ(f.ShutdownsTold(), 1);
    EXPECT_EQ(finished.count(), 0);
    f.core->running = false;
    EXPECT_TRUE(finished.wait(2000));
    EXPECT_EQ(f.ShutdownsTold(), 1);
}

TEST(MainWindowMenu, ClearIncompleteConfirmsEvenWithoutTheFolder) {
    ComposedFixture f;
    std::filesystem::remove_all(f.Paths().incomplete);
    f.Window().ClearIncompleteFolder(true);
    ASSERT_TRUE(test::WaitUntil([&] { return !f.composed->prompter.informed.empty(); }));
    EXPECT_EQ(
        f.composed->prompter.informed[0],
        std::make_pair(std::string("Incomplete directory cleared."), std::string("Done Clearing")));
}

TEST(MainWindowMenu, StartupClearIsSilentAndEmptiesTheFolder) {
    ComposedFixture f;
    const auto part = f.Paths().incomplete / "part.mp3.korvana-part";
    std::ofstream(part) << "x";
    f.Window().ClearIncompleteFolder(false);
    EXPECT_TRUE(f.Window().ClearingIncomplete());
    ASSERT_TRUE(test::WaitUntil([&] { return !f.Window().ClearingIncomplete(); }));
    EXPECT_FALSE(std::filesystem::exists(part));
    EXPECT_TRUE(f.composed->prompter.informed.empty());
}

}  // namespace
}  // namespace korvana
