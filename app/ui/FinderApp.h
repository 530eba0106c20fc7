#pragma once

#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/CoreConfig.h"
#include "app/CoreRestarter.h"
#include "app/Folders.h"
#include "app/SearchDownloads.h"
#include "app/ui/CoreLinkBridge.h"
#include "app/ui/KeptDownloadPrompt.h"
#include "app/ui/KeyFilter.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SplashDialog.h"
#include "app/ui/StatusLogDialog.h"
#include "app/ui/TerminationSignals.h"
#include "core/CoreLink.h"
#include "core/StatusLog.h"
#include "desktop/ui/DesktopNotifier.h"
#include "platform/CoreProcess.h"
#include "search/CoreCommands.h"
#include "search/SearchSession.h"
#include "services/DownloadNotices.h"
#include "services/VendorServices.h"
#include "services/ui/UpdateQuestion.h"
#include "transfers/TransferCommandSink.h"
#include "transfers/TransferList.h"
#include "web/download/WebDownloads.h"

class QApplication;

namespace korvana {
class LibraryPage;
class MprisService;
}  // namespace korvana

namespace korvana {

class Clock;
class DesktopOpener;
class Prompter;
class SettingsStore;
class TransfersPage;

// What the program takes from the system: the install folder and the
// platform's services. The program passes the real ones; tests pass
// stand-ins (settings in memory, a recording prompter, a simulated core).
// Every one must outlive the FinderApp built on it.
struct FinderPlatform {
    std::filesystem::path install;
    SettingsStore& settings;
    const Clock& clock;
    Prompter& prompter;
    DesktopOpener& opener;
    // The core process for the core folder the settings name.
    std::function<std::unique_ptr<CoreProcess>(const Folders&)> makeCore;
};

// The program's objects on the platform's services, built in the order
// they depend on each other and torn down in reverse: the window and its
// pages first, then the web downloads and the core link (their threads
// joined), then the lists they report into. The program and its tests
// compose it alike.
class FinderApp final : private MainWindowHost {
  public:
    explicit FinderApp(FinderPlatform platform);
    // The link's thread may still report until the link is gone; the
    // bridge goes first.
    ~FinderApp() override;
    FinderApp(const FinderApp&) = delete;
    FinderApp& operator=(const FinderApp&) = delete;

    // Start-up after the window exists: the core, the Incomplete folder, the
    // install notice and the splash; the window shows when the splash ends.
    void Start(QApplication& application);

    // Brings the window (or the splash, while it shows) to the front.
    void Raise();
    // Offers the player to the desktop's media controls on the session bus.
    void OfferMediaControls();

    MainWindow& Window() { return *window_; }
    CoreLinkBridge& Bridge() { return coreBridge_; }
    const StatusLog& Log() const { return statusLog_; }
    const Folders& Paths() const { return folders_; }
    // Null before Start.
    SplashDialog* Splash() { return splash_.get(); }

  private:
    std::function<std::filesystem::path()> DownloadsFolderNow() {
        return [this] { return GetDownloadsFolder(folders_.install, settings_); };
    }
    void SendShutdown() override;
    StatusInputs ReadStatus() override;
    void AskUpdateCheck() override;
    void OpenPreferences() override;
    void OpenFeedback() override;
    void BeforeClose() override;
    std::filesystem::path DownloadsFolder() override;
    void PlayFile(const std::filesystem::path& file) override;
    void ShowFolder(const std::filesystem::path& folder) override;
    MainWindowServices Services();
    MainWindowPages Pages();
    void BuildWindow();
    void StartCore();
    void WatchCore();
    // Downloads that ended while the user looked elsewhere, told on the
    // desktop.
    void TellDownloadEndings(TransfersPage& page);
    void ShowDueNotices();

    SettingsStore& settings_;
    const Clock& clock_;
    Prompter& prompter_;
    DesktopOpener& opener_;
    Folders folders_;
    StatusLog statusLog_;
    std::unique_ptr<CoreProcess> core_;
    // As at start-up: whether the core is ours is decided once.
    CoreSettings coreSettings_;
    CoreCredentialsBox coreCredentials_{coreSettings_.credentials};
    CoreRestarter restarter_;
    QTimer coreCheck_;
    TransferList transfers_;
    // The user's engine definitions, read once at start-up.
    const LoadedDefinitions definedEngines_;
    // Outlives the core link and the web search, which report into it.
    CoreLinkCommands searchCommands_;
    SearchSession searchSession_;
    CoreLink coreLink_;
    CoreLinkBridge coreBridge_;
    CoreLinkOptions coreOptions_;
    // Before the web downloads, whose threads call it until they are joined.
    KeptDownloadPrompt keptPrompt_{prompter_, webDownloads_};
    WebDownloads webDownloads_;
    CoreLinkTransferCommands transferCommands_;
    SearchDownloads searchDownloads_;
    UpdateQuestion updateQuestion_;
    VendorServices vendor_;
    std::unique_ptr<MainWindow> window_;
    LibraryPage* library_ = nullptr;
    // Gone before the window, whose player it follows.
    std::unique_ptr<MprisService> mpris_;
    DownloadNotices downloadNotices_{clock_};
    DesktopNotifier notifier_{QDBusConnection::sessionBus()};
    QTimer noticeTimer_;
    std::unique_ptr<StatusLogDialog> statusLogWindow_;
    std::unique_ptr<KeyFilter> keys_;
    std::unique_ptr<SplashDialog> splash_;
    std::unique_ptr<TerminationSignals> termination_;
};

// The application: one copy per user, the folders under the install folder,
// the main window and its start-up order. Returns the process's exit status.
int RunFinderApp(int argc, char* argv[]);

}  // namespace korvana
