#include <gtest/gtest.h>
#include <QSignalSpy>

#include "app/ui/MainWindow.h"
#include "app/ui/ShutdownDialog.h"
#include "app/ui/SplashDialog.h"
#include "platform/CoreProcess.h"
#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"

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

class RecordingPrompter final : public Prompter {
  public:
    void Inform(const std::string& text, const std::string& caption) override {
        messages.push_back(caption + ": " + text);
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::vector<std::string> messages;
};

struct WindowFixture {
    test::TempDir dir;
    Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                    dir.Path() / "TempPlay", dir.Path() / "mldonkey"};
    test::FakeClock clock;
    FakeCore core;
    RecordingPrompter prompter;
    test::RecordingOpener opener;
    int shutdownsSent = 0;
    MainWindow window{
        MainWindowServices{folders, clock, core, prompter, opener, [this] { ++shutdownsSent; }}};
};

TEST(MainWindowClose, WithoutACoreFinishesAtOnce) {
    WindowFixture f;
    f.window.show();
    QSignalSpy finished(&f.window, &MainWindow::Finished);
    f.window.close();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(f.shutdownsSent, 0);
    EXPECT_FALSE(f.window.isVisible());
}

TEST(MainWindowClose, TellsARunningCoreOnceAndWaitsForIt) {
    WindowFixture f;
    f.core.running = true;
    f.window.show();
    QSignalSpy finished(&f.window, &MainWindow::Finished);
    f.window.close();
    f.window.StartCloseSequence();  // a second request (say SIGTERM) changes nothing
    EXPECT_FALSE(f.window.isVisible());
    EXPECT_EQ(f.shutdownsSent, 1);
    EXPECT_EQ(finished.count(), 0);
    f.core.running = false;
    EXPECT_TRUE(finished.wait(2000));
    EXPECT_EQ(f.shutdownsSent, 1);
}

TEST(MainWindowMenu, ClearIncompleteConfirmsEvenWithoutTheFolder) {
    WindowFixture f;
    f.window.ClearIncompleteFolder(true);
    ASSERT_TRUE(test::WaitUntil([&] { return !f.prompter.messages.empty(); }));
    EXPECT_EQ(f.prompter.messages[0], "Done Clearing: Incomplete directory cleared.");
}

TEST(MainWindowMenu, StartupClearIsSilentAndEmptiesTheFolder) {
    WindowFixture f;
    std::filesystem::create_directories(f.folders.incomplete);
    std::ofstream(f.folders.incomplete / "part.mp3.korvana-part") << "x";
    f.window.ClearIncompleteFolder(false);
    EXPECT_TRUE(f.window.ClearingIncomplete());
    ASSERT_TRUE(test::WaitUntil([&] { return !f.window.ClearingIncomplete(); }));
    EXPECT_FALSE(std::filesystem::exists(f.folders.incomplete / "part.mp3.korvana-part"));
    EXPECT_TRUE(f.prompter.messages.empty());
}

}  // namespace
}  // namespace korvana
