#include "app/ui/FinderApp.h"

#include <QApplication>
#include <QIcon>
#include <QShortcut>
#include <QTimer>

#include "app/CoreConfig.h"
#include "app/Folders.h"
#include "app/ui/CoreLinkBridge.h"
#include "app/ui/KeyFilter.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtPrompter.h"
#include "app/ui/SplashDialog.h"
#include "app/ui/StatusLogDialog.h"
#include "app/ui/TerminationSignals.h"
#include "core/CoreLink.h"
#include "core/StatusLog.h"
#include "library/ui/LibraryPage.h"
#include "platform/Clock.h"
#include "platform/CoreProcess.h"
#include "platform/InstallFolder.h"
#include "platform/SingleInstance.h"
#include "platform/media/AutoMediaBackend.h"
#include "platform/qt/QtDesktopOpener.h"
#include "platform/qt/QtSettingsStore.h"
#include "prefs/ui/PreferencesDialog.h"
#include "services/VendorServices.h"
#include "services/VendorUrl.h"
#include "services/ui/FeedbackDialog.h"
#include "services/ui/UpdateQuestion.h"

// The artwork is compiled into a static library; its registration must be
// named from the global namespace.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace korvana {

namespace {

constexpr int kCoreStartDelayMs = 1000;

void CreateFolders(const Folders& folders) {
    for (const auto& folder :
         {folders.install, folders.downloads, folders.incomplete, folders.tempPlay, folders.core}) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
    }
}

}  // namespace

int RunFinderApp(int argc, char* argv[]) {
    TerminationSignals::InstallHandlers();
    // The one-copy check comes first, so a second copy ends before it has
    // touched the display or anything else.
    const std::filesystem::path install = ChooseInstallFolder(ReadInstallFolderFacts());
    SingleInstance instance(SingleInstance::DefaultLockFile(install));
    if (!instance.IsFirst()) {
        return 0;
    }
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Korvana MP3 Finder"));
    application.setQuitOnLastWindowClosed(false);
    InitResources();
    application.setWindowIcon(QIcon(QStringLiteral(":/res/icons/app.svg")));

    QtSettingsStore settings;
    const Folders folders = MakeFolders(install, settings);
    CreateFolders(folders);
    StatusLog statusLog;
    statusLog.OpenFile(install / "korvana.log");
    SystemClock clock;
    PosixCoreProcess core(folders.core);
    QtPrompter prompter;
    QtDesktopOpener opener;

    CoreLink coreLink(ReadCoreLinkConfig(settings, folders.downloads.string()), statusLog, prompter,
                      clock);
    CoreLinkBridge coreBridge(coreLink);
    coreLink.SetListener(&coreBridge);

    CoreLinkOptions coreOptions(coreLink);
    MainWindow* mainWindow = nullptr;
    UpdateQuestion updateQuestion(prompter, opener, [&mainWindow] {
        if (mainWindow != nullptr) {
            mainWindow->StartCloseSequence();
        }
    });
    VendorServices vendor(settings, clock, updateQuestion);

    MainWindowServices services{folders, clock, core, prompter, opener};
    services.sendShutdown = [&coreLink] { coreLink.SendShutdown(); };
    services.vendorUrl = ReadVendorUrl(settings);
    services.readStatus = [&coreLink] { return CoreStatusInputs(coreLink); };
    services.askUpdateCheck = [&vendor] { vendor.StartUpdateCheck(); };
    services.openFeedback = [&] {
        FeedbackDialog dialog(prompter, ReadVendorUrl(settings), QApplication::activeWindow());
        dialog.exec();
    };
    services.beforeClose = [&] {
        updateQuestion.Withdraw();
        vendor.Stop();
    };
    services.openPreferences = [&] {
        PreferencesDialog dialog(coreOptions, settings, prompter, folders.install,
                                 PickFolderWithDialog, QApplication::activeWindow());
        dialog.exec();
    };
    MainWindowPages pages;
    pages.library = new LibraryPage(LibraryPageServices{
        [&install, &settings] { return GetDownloadsFolder(install, settings); }, folders.tempPlay,
        prompter, opener, clock, MakeMediaBackend(clock, MediaOutputFromEnvironment())});
    MainWindow window(std::move(services), pages);
    mainWindow = &window;
    QObject::connect(&coreBridge, &CoreLinkBridge::ClientStatsArrived, &window,
                     &MainWindow::RefreshStatusPanes);
    StatusLogDialog statusLogWindow(&window);
    statusLogWindow.Watch(statusLog);
    QShortcut statusLogShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+D")), &window);
    QObject::connect(&statusLogShortcut, &QShortcut::activated, &statusLogWindow, &QWidget::show);
    KeyFilter keys([&window](int page) { window.ShowPage(page); });
    application.installEventFilter(&keys);
    prompter.SetParentWindow(&window);
    // exit, not quit: quit can be refused by a window that will not close.
    QObject::connect(&window, &MainWindow::Finished, &application, [] { QApplication::exit(0); });

    // A core just launched gets a moment to open its port before the
    // connection attempts begin; they would retry anyway.
    if (!core.IsCoreRunning()) {
        core.LaunchCore();
        QTimer::singleShot(kCoreStartDelayMs, &coreBridge,
                           [&coreLink] { coreLink.StartReceiveThread(); });
    } else {
        coreLink.StartReceiveThread();
    }
    window.ClearIncompleteFolder(false);
    vendor.SendInstallNotice();

    SplashDialog splash;
    QObject::connect(&splash, &QDialog::finished, &window, [&window, &vendor] {
        if (!window.IsClosing()) {
            window.showMaximized();
            vendor.StartUpdateCheck();
        }
    });
    splash.show();
    // Made last: showing a window may process events, and a close that ran
    // before the event loop started could not end it.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::Received, &window,
                     &MainWindow::StartCloseSequence);
    return application.exec();
}

}  // namespace korvana
