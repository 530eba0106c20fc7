#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>

#include "app/Folders.h"
#include "app/StartupSequences.h"
#include "app/ui/MainWindow.h"
#include "platform/CoreProcess.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

class RunningCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override { return true; }
    void LaunchCore() override {}
};

QString ShutdownText() {
    QString text;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("IDD_SHUTDOWN") && top->isVisible()) {
            for (const QLabel* label : top->findChildren<QLabel*>()) {
                text += label->text() + QLatin1Char(' ');
            }
        }
    }
    return text;
}

// Exit leaves a core that is not ours running: no shutdown message, and the
// dialog says so instead of "shuts down the peer-2-peer networking".
TEST(MainWindowClose, RemoteCoreIsLeftRunningAndTheDialogSaysSo) {
    test::TempDir dir;
    const Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                          dir.Path() / "TempPlay", dir.Path() / "mldonkey"};
    test::FakeClock clock;
    RunningCore core;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    struct CountingHost final : MainWindowHost {
        int shutdownsSent = 0;
        void SendShutdown() override { ++shutdownsSent; }
    } host;
    const int& shutdownsSent = host.shutdownsSent;
    MainWindowServices services{folders, clock, core, prompter, opener, &host};
    services.remoteCoreAddress = "nas.lan:4001";
    MainWindow window(std::move(services));
    window.show();
    QSignalSpy finished(&window, &MainWindow::Finished);
    window.close();
    EXPECT_FALSE(window.isVisible());
    const QString text = ShutdownText();
    EXPECT_TRUE(text.contains(QStringLiteral("nas.lan:4001"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("keeps running"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("shuts down"))) << text.toStdString();
    clock.Advance(CoreStopper::kLeaveNotice);
    EXPECT_TRUE(finished.wait(2000));
    EXPECT_EQ(shutdownsSent, 0);
}

}  // namespace
}  // namespace korvana
