#include "prefs/ui/MoveWithProgress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Waits on the worker until `flag` is set from the GUI thread, for at most
// a few seconds: were the GUI thread blocked, the flag would never come.
bool WaitFor(const std::atomic<bool>& flag) {
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!flag.load() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(2ms);
    }
    return flag.load();
}

TEST(RunShowingProgress, TheEventLoopTurnsWhileTheJobRuns) {
    QWidget window;
    window.show();
    std::atomic<bool> timerFired{false};
    QTimer::singleShot(10ms, [&timerFired] { timerFired = true; });
    bool jobSawTheTimer = false;
    RunShowingProgress(
        &window, QStringLiteral("Working"), [&] { jobSawTheTimer = WaitFor(timerFired); },
        [] { return QStringLiteral("Working..."); });
    EXPECT_TRUE(jobSawTheTimer);
}

TEST(RunShowingProgress, ALongJobShowsTheBusyDialogWithItsLabel) {
    QWidget window;
    window.show();
    std::atomic<bool> seen{false};
    std::atomic<int> labelsAsked{0};
    QString shownLabel;
    // Looks for the dialog well after it is due, then lets the job end.
    QTimer::singleShot(900ms, [&] {
        for (auto* dialog : window.findChildren<QProgressDialog*>()) {
            if (dialog->isVisible()) {
                shownLabel = dialog->labelText();
            }
        }
        seen = true;
    });
    RunShowingProgress(
        &window, QStringLiteral("Moving Files"), [&] { WaitFor(seen); },
        [&] { return QStringLiteral("step %1").arg(++labelsAsked); });
    EXPECT_TRUE(shownLabel.startsWith(QStringLiteral("step "))) << shownLabel.toStdString();
    EXPECT_GT(labelsAsked.load(), 2);
    // The dialog goes with the job.
    EXPECT_TRUE(window.findChildren<QProgressDialog*>().isEmpty());
}

TEST(MoveWithProgress, MovesTheFilesAndReportsWhatStayed) {
    test::TempDir dir;
    const fs::path from = dir.Path() / "old";
    const fs::path to = dir.Path() / "new";
    test::WriteText(from / "a.mp3", "a");
    test::WriteText(from / "Album" / "b.mp3", "b");
    test::WriteText(from / "taken.mp3", "old");
    test::WriteText(to / "taken.mp3", "kept");
    QWidget window;
    const MoveReport report = MoveWithProgress(&window, from, to);
    EXPECT_TRUE(fs::exists(to / "a.mp3"));
    EXPECT_TRUE(fs::exists(to / "Album" / "b.mp3"));
    EXPECT_EQ(report.leftBehind, (std::vector<fs::path>{from / "taken.mp3"}));
}

}  // namespace
}  // namespace korvana
