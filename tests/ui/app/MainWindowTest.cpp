#include <gtest/gtest.h>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include "app/MainLayout.h"
#include "app/ui/KeyFilter.h"
#include "app/ui/MainWindow.h"
#include "controls/CGradientMenu.h"
#include "controls/SkinButton.h"
#include "platform/CoreProcess.h"
#include "platform/DesktopOpener.h"
#include "res/ResourceIds.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

class IdleCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override { return false; }
    void LaunchCore() override {}
};

struct Fixture final : MainWindowHost {
    test::TempDir dir;
    Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                    dir.Path() / "TempPlay", dir.Path() / "mldonkey"};
    test::FakeClock clock;
    IdleCore core;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    int updateChecks = 0;
    int preferencesRuns = 0;
    StatusInputs status;
    std::string downloadsLabel;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<KeyFilter> keys;

    Fixture() {
        MainWindowServices services{folders, clock, core, prompter, opener, this};
        services.vendorUrl = "http://127.0.0.1:4100";
        window = std::make_unique<MainWindow>(std::move(services));
        QObject::connect(window.get(), &MainWindow::DownloadsTextChanged, window.get(),
                         [this](const QString& text) { downloadsLabel = text.toStdString(); });
        keys = std::make_unique<KeyFilter>([this](int page) { window->ShowPage(page); });
        qApp->installEventFilter(keys.get());
        window->show();
    }
    ~Fixture() override { qApp->removeEventFilter(keys.get()); }

    StatusInputs ReadStatus() override { return status; }
    void AskUpdateCheck() override { ++updateChecks; }
    void OpenPreferences() override { ++preferencesRuns; }

    QWidget* Find(const char* name) {
        return window->findChild<QWidget*>(QString::fromLatin1(name));
    }
    QString PaneText(const char* name) { return static_cast<SkinButton*>(Find(name))->Text(); }
};

// Preferences can move the downloads folder while the window is open; Locate
// must open the folder as it is now, not the one from start-up.
TEST(MainWindowCommands, LocateDownloadFolderOpensTheCurrentFolder) {
    test::TempDir dir;
    const Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                          dir.Path() / "TempPlay", dir.Path() / "mldonkey"};
    test::FakeClock clock;
    IdleCore core;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    struct MovingFolder final : MainWindowHost {
        std::filesystem::path current;
        std::filesystem::path DownloadsFolder() override { return current; }
    } host;
    std::filesystem::path& current = host.current;
    current = dir.Path() / "Moved Downloads";
    MainWindow window({folders, clock, core, prompter, opener, &host});
    window.RunCommand(res::kLocateDownloadFolder);
    current = dir.Path() / "Moved Again";
    window.RunCommand(res::kLocateDownloadFolder);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{(dir.Path() / "Moved Downloads").string(),
                                                       (dir.Path() / "Moved Again").string()}));
}

TEST(MainWindowLayout, ChildrenFollowTheRuleOnResize) {
    Fixture f;
    f.window->resize(1100, 760);
    QWidget* client = f.Find("IDC_CLIENT");
    const MainLayout expected = ComputeMainLayout(client->width(), client->height());
    const QRect host = f.Find("IDC_PAGE_HOST")->geometry();
    EXPECT_EQ(host, QRect(expected.pageHost.x, expected.pageHost.y, expected.pageHost.width,
                          expected.pageHost.height));
    EXPECT_EQ(f.Find("IDC_SERVERS_PANE")->geometry().topLeft(),
              QPoint(expected.serversPane.x, expected.serversPane.y));
    EXPECT_EQ(f.Find("IDC_RIGHT_FILLER")->width(), expected.rightFiller.width);
    EXPECT_EQ(f.Find("IDC_SEPARATOR")->geometry().y(), expected.separator.y);
}

TEST(MainWindowNavigation, FunctionKeysAndRepeatsAndEscape) {
    Fixture f;
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    QTest::keyClick(f.window.get(), Qt::Key_F3);
    EXPECT_EQ(f.window->VisiblePage(), 1);
    EXPECT_EQ(f.updateChecks, 2);  // the second press changes nothing but still asks
    EXPECT_TRUE(static_cast<SkinButton*>(f.Find("IDC_TRANSFERS_BUTTON"))->IsChecked());
    EXPECT_FALSE(static_cast<SkinButton*>(f.Find("IDC_SEARCH_BUTTON"))->IsChecked());

    QTest::keyPress(f.window.get(), Qt::Key_F2);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(f.window.get(), &repeat);
    EXPECT_EQ(f.window->VisiblePage(), 0);
    EXPECT_EQ(f.updateChecks, 3);

    QDialog dialog(f.window.get());
    auto* edit = new QLineEdit(&dialog);
    dialog.show();
    QTest::keyClick(edit, Qt::Key_F4);  // a key typed in a child counts once
    EXPECT_EQ(f.window->VisiblePage(), 2);
    EXPECT_EQ(f.updateChecks, 4);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(f.window->isVisible());
}

// A key from the window system reaches the window's handle first and the
// focused widget after it; a dialog that is not modal must still close.
TEST(MainWindowNavigation, EscapeFromTheWindowSystemClosesAWindowOfItsOwn) {
    Fixture f;
    QDialog dialog(f.window.get());
    auto* list = new QLineEdit(&dialog);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    list->setFocus();
    QTest::keyClick(dialog.windowHandle(), Qt::Key_F3);
    EXPECT_EQ(f.window->VisiblePage(), 1);
    EXPECT_EQ(f.updateChecks, 1);
    QTest::keyClick(dialog.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(MainWindowNavigation, EscapeLeavesTheShutdownDialogAndEnterPressesTheFocusedButton) {
    Fixture f;
    QDialog shutdown(f.window.get());
    shutdown.setObjectName(QStringLiteral("IDD_SHUTDOWN"));
    shutdown.show();
    QTest::keyClick(&shutdown, Qt::Key_Escape);
    EXPECT_TRUE(shutdown.isVisible());

    QWidget panel;
    auto* first = new QPushButton(QStringLiteral("First"), &panel);
    auto* second = new QPushButton(QStringLiteral("Second"), &panel);
    int firstClicks = 0;
    int secondClicks = 0;
    QObject::connect(first, &QPushButton::clicked, [&] { ++firstClicks; });
    QObject::connect(second, &QPushButton::clicked, [&] { ++secondClicks; });
    panel.show();
    panel.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(firstClicks, 0);
}

TEST(MainWindowStatus, TextsFromTheCoreAndTheWebTotals) {
    Fixture f;
    EXPECT_EQ(f.PaneText("IDC_SERVERS_PANE"), QStringLiteral("Connecting to servers"));
    f.status.connectedServers = 4;
    f.status.downloadRateA = 1024;
    f.status.downloadingFiles = 1;
    f.window->RefreshStatusPanes();
    EXPECT_EQ(f.PaneText("IDC_SERVERS_PANE"), QStringLiteral("Connected to 4 servers"));
    EXPECT_EQ(f.PaneText("IDC_BANDWIDTH_PANE"), QStringLiteral("  1.0 KB/s down :  0.0 KB/s up"));
    EXPECT_EQ(f.PaneText("IDC_DOWNLOADS_PANE"), QStringLiteral("Downloading 1 file"));
    EXPECT_EQ(f.downloadsLabel, "Downloading 1 file");
}

TEST(MainWindowStatus, LinkDownSaysSoAndShowsNoCoreBandwidth) {
    Fixture f;
    f.status.connectedServers = 9;
    f.status.downloadRateA = 200 * 1024;
    f.window->RefreshStatusPanes();
    ASSERT_EQ(f.PaneText("IDC_SERVERS_PANE"), QStringLiteral("Connected to 9 servers"));
    f.status.coreConnected = false;
    f.window->RefreshStatusPanes();
    EXPECT_EQ(f.PaneText("IDC_SERVERS_PANE"), QStringLiteral("Core not connected"));
    EXPECT_EQ(f.PaneText("IDC_BANDWIDTH_PANE"), QStringLiteral("  0.0 KB/s down :  0.0 KB/s up"));
}

TEST(MainWindowCommands, HelpPagesPreferencesAndClear) {
    Fixture f;
    f.window->RunCommand(res::kViewFaq);
    f.window->RunCommand(res::kVisitWebsite);
    f.window->RunCommand(res::kLocateDownloadFolder);
    EXPECT_EQ(f.opener.opened,
              (std::vector<std::string>{
                  "http://127.0.0.1:4100/modules.php?op=modload&name=FAQ&file=index",
                  "http://127.0.0.1:4100/", f.folders.downloads.string()}));

    auto* preferences = static_cast<SkinButton*>(f.Find("IDC_PREFERENCES_BUTTON"));
    QTest::mouseClick(preferences, Qt::LeftButton);
    EXPECT_EQ(f.preferencesRuns, 1);
    EXPECT_FALSE(preferences->IsChecked());
    EXPECT_EQ(f.window->VisiblePage(), 0);

    f.window->RunCommand(res::kShowLibrary);
    EXPECT_EQ(f.window->VisiblePage(), 2);
}

TEST(MainWindowMenus, MenuBarOpensTheDrawnPopupAndAsksTheUpdateCheckAfter) {
    Fixture f;
    f.window->OpenMenu(3);
    ASSERT_NE(f.window->OpenMenuPopup(), nullptr);
    EXPECT_TRUE(f.window->OpenMenuPopup()->isVisible());
    EXPECT_EQ(f.window->OpenMenuPopup()->objectName(), QStringLiteral("IDR_HELP_MENU"));
    const int before = f.updateChecks;
    f.window->OpenMenuPopup()->CloseWholeMenu();
    EXPECT_EQ(f.updateChecks, before + 1);
}

}  // namespace
}  // namespace korvana
