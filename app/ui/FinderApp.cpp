#include "app/ui/FinderApp.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QShortcut>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "app/CoreConfig.h"
#include "app/ui/PerformanceProbe.h"
#include "app/ui/QtPrompter.h"
#include "desktop/InstalledLayout.h"
#include "desktop/RaiseSocket.h"
#include "desktop/Version.h"
#include "desktop/ui/CommandLine.h"
#include "desktop/ui/MprisService.h"
#include "desktop/ui/RaiseChannel.h"
#include "library/ui/LibraryPage.h"
#include "platform/Clock.h"
#include "platform/CoreProcess.h"
#include "platform/InstallFolder.h"
#include "platform/SingleInstance.h"
#include "platform/media/AutoMediaBackend.h"
#include "platform/qt/QtDesktopOpener.h"
#include "platform/qt/QtSettingsStore.h"
#include "prefs/ui/PreferencesDialog.h"
#include "search/SizeProbes.h"
#include "search/ui/KnownFilesWatch.h"
#include "search/ui/SearchPage.h"
#include "services/VendorUrl.h"
#include "services/ui/FeedbackDialog.h"
#include "transfers/ui/TransfersPage.h"
#include "web/WebEngineSettings.h"

// The artwork is compiled into a static library; its registration must be
// named from the global namespace.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace korvana {

namespace {

LoadedDefinitions LoadUserEngines() {
    const InstallFolderFacts facts = ReadInstallFolderFacts();
    return LoadEngineDefinitions(DefinedEnginesFolder(facts.xdgDataHome, facts.home));
}

// The links a search finds, its detail pages and its size probes are named
// by the engines' pages, so they reach this machine or its network only on
// the engines' own servers.
SearchSessionOptions SessionOptions(const SettingsStore& settings,
                                    std::function<void(const std::string&)> report,
                                    std::vector<EngineDefinition> defined) {
    EngineUrls urls = ReadEngineUrls(settings);
    std::vector<std::string> origins = EngineOrigins(urls, defined);
    WebSearchOptions web = ReportingSearchOptions(std::move(report));
    web.definedEngines = std::move(defined);
    web.http.originUrls = origins;
    SearchSessionOptions options(std::move(urls), std::move(web));
    HttpOptions probeHttp;
    probeHttp.originUrls = std::move(origins);
    options.probes = std::make_unique<HttpHeaderProbes>(std::move(probeHttp));
    return options;
}

WebDownloadsConfig DownloadsConfig(const SettingsStore& settings,
                                   const std::vector<EngineDefinition>& defined,
                                   std::filesystem::path incomplete,
                                   std::function<std::filesystem::path()> downloadsFolder) {
    WebDownloadsConfig config{std::move(incomplete), std::move(downloadsFolder)};
    config.originUrls = EngineOrigins(ReadEngineUrls(settings), defined);
    return config;
}

constexpr int kCoreStartDelayMs = 1000;
// While the link is down, how often to look whether our core still runs.
constexpr int kCoreCheckMs = 3000;

void CreateFolders(const Folders& folders) {
    for (const auto& folder :
         {folders.install, folders.downloads, folders.incomplete, folders.tempPlay, folders.core}) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
    }
}

}  // namespace

FinderApp::FinderApp(FinderPlatform platform)
    : settings_(platform.settings),
      clock_(platform.clock),
      prompter_(platform.prompter),
      opener_(platform.opener),
      folders_(MakeFolders(platform.install, settings_)),
      core_(platform.makeCore(folders_)),
      coreSettings_(ReadCoreSettings(settings_)),
      restarter_(clock_, *core_, statusLog_, IsRemoteCore(coreSettings_)),
      transfers_(clock_, statusLog_),
      definedEngines_(LoadUserEngines()),
      searchCommands_(coreLink_),
      searchSession_(searchCommands_,
                     SessionOptions(
                         settings_, [this](const std::string& l) { statusLog_.Line(l); },
                         EnabledDefinitions(definedEngines_.engines, settings_))),
      coreLink_(
          ReadCoreLinkConfig(
              settings_, [this] { return DownloadsFolderNow()().string(); }, &coreCredentials_),
          statusLog_, prompter_, clock_),
      coreBridge_(coreLink_),
      coreOptions_(coreLink_),
      webDownloads_(
          transfers_,
          DownloadsConfig(settings_, EnabledDefinitions(definedEngines_.engines, settings_),
                          folders_.incomplete, DownloadsFolderNow())),
      transferCommands_(coreLink_),
      searchDownloads_(transfers_, webDownloads_),
      updateQuestion_(prompter_, opener_),
      vendor_(settings_, clock_, updateQuestion_) {
    CreateFolders(folders_);
    statusLog_.OpenFile(platform.install / "korvana.log");
    if (!KeepStoredPasswordPrivate(settings_)) {
        statusLog_.Line(
            "The settings file holds the core's password but could not be made "
            "readable by its owner alone.");
    }
    for (const std::string& refused : definedEngines_.errors) {
        statusLog_.Line("Web engine definition left out: " + refused);
    }
    webDownloads_.SetKeptListener([this](const KeptDownload& k) { keptPrompt_.Notify(k); });
    coreLink_.SetListener(&coreBridge_);
    coreLink_.SetTransferSink(&transfers_);
    coreLink_.SetSearchSink(&searchSession_.Model());
    BuildWindow();
}

// The link's thread may still report until the link is gone, so the
// bridge goes first; the player stops with its page, after the media
// controls that follow it are gone.
FinderApp::~FinderApp() {
    coreLink_.SetListener(nullptr);
    if (mpris_) {
        library_->RunPlayer([](Player& player) { player.SetChangeListener(nullptr); });
    }
}

void FinderApp::OfferMediaControls() {
    MprisHooks hooks;
    hooks.player = &library_->GetPlayer();
    hooks.run = [this](const std::function<void(Player&)>& command) {
        library_->RunPlayer(command);
    };
    hooks.raise = [this] { Raise(); };
    hooks.quit = [this] { window_->StartCloseSequence(); };
    mpris_ = std::make_unique<MprisService>(std::move(hooks));
    library_->RunPlayer(
        [this](Player& player) { player.SetChangeListener([this] { mpris_->PlayerChanged(); }); });
    if (!mpris_->Register(QDBusConnection::sessionBus())) {
        statusLog_.Line("No session bus: the desktop's media controls cannot reach the player.");
    }
}

MainWindowServices FinderApp::Services() {
    MainWindowServices services{folders_, clock_, *core_, prompter_, opener_, this};
    if (IsRemoteCore(coreSettings_)) {
        services.remoteCoreAddress = CoreAddressText(coreSettings_.host, coreSettings_.port);
    }
    services.vendorUrl = ReadVendorUrl(settings_);
    services.statusLog = &statusLog_;
    services.settings = &settings_;
    return services;
}

void FinderApp::SendShutdown() {
    coreLink_.SendShutdown();
}

StatusInputs FinderApp::ReadStatus() {
    StatusInputs inputs = CoreStatusInputs(coreLink_);
    inputs.activeWebDownloads = transfers_.activeWebDownloads();
    inputs.webDownloadRate = static_cast<double>(transfers_.webDownloadRate());
    return inputs;
}

void FinderApp::AskUpdateCheck() {
    vendor_.StartUpdateCheck();
}

void FinderApp::OpenFeedback() {
    FeedbackDialog dialog(prompter_, ReadVendorUrl(settings_), window_.get());
    dialog.exec();
}

void FinderApp::OpenPreferences() {
    PreferencesDialog dialog(coreOptions_, settings_, prompter_, folders_.install, definedEngines_,
                             PickFolderWithDialog, window_.get());
    dialog.exec();
    coreCredentials_.Set(ReadCoreSettings(settings_).credentials);
    downloadNotices_.SetEnabled(ReadDownloadNoticesChoice(settings_));
}

void FinderApp::BeforeClose() {
    coreCheck_.stop();
    updateQuestion_.Withdraw();
    vendor_.Stop();
    webDownloads_.Stop();
    searchSession_.Shutdown();
}

std::filesystem::path FinderApp::DownloadsFolder() {
    return GetDownloadsFolder(folders_.install, settings_);
}

void FinderApp::PlayFile(const std::filesystem::path& file) {
    const Track track{file.filename().string(), file.string()};
    library_->RunPlayer([&track](Player& player) { player.PlaySelection({track}); });
}

void FinderApp::ShowFolder(const std::filesystem::path& folder) {
    opener_.OpenPath(folder.string());
}

MainWindowPages FinderApp::Pages() {
    MainWindowPages pages;
    pages.search = new SearchPage(searchSession_, searchDownloads_, prompter_, &statusLog_);
    pages.transfers = new TransfersPage(TransferBoardServices{
        transfers_, transferCommands_, &webDownloads_, clock_, statusLog_, DownloadsFolderNow()});
    LibraryPageServices library{DownloadsFolderNow(),
                                folders_.tempPlay,
                                prompter_,
                                opener_,
                                clock_,
                                MakeMediaBackend(clock_, MediaOutputFromEnvironment())};
    library.playerState = folders_.install / "player.json";
    pages.library = new LibraryPage(std::move(library));
    return pages;
}

void FinderApp::BuildWindow() {
    const MainWindowPages pages = Pages();
    auto* transfersPage = static_cast<TransfersPage*>(pages.transfers);
    library_ = static_cast<LibraryPage*>(pages.library);
    window_ = std::make_unique<MainWindow>(Services(), pages);
    QObject::connect(window_.get(), &MainWindow::DownloadsTextChanged, transfersPage,
                     [transfersPage](const QString& text) {
                         transfersPage->SetDownloadsLabel(text.toStdString());
                     });
    QObject::connect(&coreBridge_, &CoreLinkBridge::ClientStatsArrived, window_.get(),
                     &MainWindow::RefreshStatusPanes);
    QObject::connect(&coreBridge_, &CoreLinkBridge::LinkChanged, window_.get(),
                     &MainWindow::RefreshStatusPanes);
    // Web downloads count in the status row too, and change without the core.
    QObject::connect(transfersPage, &TransfersPage::Refreshed, window_.get(),
                     &MainWindow::RefreshStatusPanes);
    QObject::connect(
        transfersPage, &TransfersPage::PlayRequested, window_.get(),
        [this](const QString& file) { PlayFile(QFile::encodeName(file).toStdString()); });
    QObject::connect(
        transfersPage, &TransfersPage::ShowFolderRequested, window_.get(),
        [this](const QString& folder) { ShowFolder(QFile::encodeName(folder).toStdString()); });
    statusLogWindow_ = std::make_unique<StatusLogDialog>(window_.get());
    statusLogWindow_->Watch(statusLog_);
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+D")), window_.get());
    QObject::connect(shortcut, &QShortcut::activated, statusLogWindow_.get(), &QWidget::show);
    keys_ = std::make_unique<KeyFilter>([this](int page) { window_->ShowPage(page); });
    TellDownloadEndings(*transfersPage);
    auto* searchPage = static_cast<SearchPage*>(pages.search);
    WatchKnownFiles(*searchPage, *library_, *transfersPage);
    QObject::connect(&coreBridge_, &CoreLinkBridge::LinkChanged, searchPage,
                     &SearchPage::CoreLinkChanged);
}

void FinderApp::TellDownloadEndings(TransfersPage& page) {
    downloadNotices_.SetEnabled(ReadDownloadNoticesChoice(settings_));
    noticeTimer_.setSingleShot(true);
    QObject::connect(&noticeTimer_, &QTimer::timeout, window_.get(), [this] { ShowDueNotices(); });
    QObject::connect(&page, &TransfersPage::Refreshed, window_.get(), [this, &page] {
        const bool looking = window_->isActiveWindow();
        for (DownloadOutcome& ending : page.Board().TakeEndings()) {
            downloadNotices_.Note(std::move(ending), looking);
        }
        ShowDueNotices();
    });
}

void FinderApp::ShowDueNotices() {
    for (const DesktopNotice& notice : downloadNotices_.TakeDue()) {
        notifier_.Show(notice);
    }
    if (const auto due = downloadNotices_.NextDue(); due && !noticeTimer_.isActive()) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(*due - clock_.Now());
        noticeTimer_.start(std::max(wait, std::chrono::milliseconds(0)));
    }
}

void FinderApp::StartCore() {
    // A core just launched gets a moment to open its port before the
    // connection attempts begin; they would retry anyway.
    if (!restarter_.StartIfAbsent()) {
        coreLink_.StartReceiveThread();
        return;
    }
    QTimer::singleShot(kCoreStartDelayMs, &coreBridge_, [this] { coreLink_.StartReceiveThread(); });
    WatchCore();
}

// The look through the process list runs only while the link is down:
// a logged-in link is proof enough that the core lives.
void FinderApp::WatchCore() {
    coreCheck_.setInterval(kCoreCheckMs);
    QObject::connect(&coreCheck_, &QTimer::timeout, &coreBridge_,
                     [this] { restarter_.RestartIfDead(); });
    QObject::connect(&coreBridge_, &CoreLinkBridge::LinkChanged, &coreBridge_, [this](bool up) {
        if (up) {
            coreCheck_.stop();
        } else if (!window_->IsClosing()) {
            coreCheck_.start();
        }
    });
    coreCheck_.start();
}

void FinderApp::Start(QApplication& application) {
    application.installEventFilter(keys_.get());
    // exit, not quit: quit can be refused by a window that will not close.
    QObject::connect(window_.get(), &MainWindow::Finished, &application,
                     [] { QApplication::exit(0); });
    StartPerformanceProbeIfAsked(*window_);
    StartCore();
    window_->ClearIncompleteFolder(false);
    vendor_.SendInstallNotice();
    splash_ = std::make_unique<SplashDialog>();
    QObject::connect(splash_.get(), &QDialog::finished, window_.get(), [this] {
        if (!window_->IsClosing()) {
            window_->ShowAsLastTime();
            vendor_.StartUpdateCheck();
        }
    });
    splash_->show();
    // Made last: showing a window may process events, and a close that ran
    // before the event loop started could not end it.
    termination_ = std::make_unique<TerminationSignals>();
    QObject::connect(termination_.get(), &TerminationSignals::Received, window_.get(),
                     &MainWindow::StartCloseSequence);
}

namespace {

// Long enough for a first copy still starting up on a busy machine.
constexpr int kRaiseTimeoutMs = 10000;

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Before any window: --help and --version, then the one-copy check. A
// second copy asks the first to show its window and ends, having touched
// nothing else. The status to end with, or nullopt to run.
std::optional<int> AnswerBeforeStart(int& argc, char* argv[], const SingleInstance& instance,
                                     const std::filesystem::path& socket) {
    const QCoreApplication early(argc, argv);
    if (const std::optional<int> status =
            AnswerCommandLine(QCoreApplication::arguments(), std::cout, std::cerr)) {
        return status;
    }
    if (instance.IsFirst()) {
        return std::nullopt;
    }
    std::cout << (AskToRaise(socket, kRaiseTimeoutMs) ? kRaisedText : kNotRaisedText) << std::endl;
    return 0;
}

}  // namespace

void FinderApp::Raise() {
    QWidget* front = window_->isVisible() ? static_cast<QWidget*>(window_.get()) : splash_.get();
    if (front == nullptr) {
        return;
    }
    front->setWindowState(front->windowState() & ~Qt::WindowMinimized);
    front->raise();
    front->activateWindow();
}

int RunFinderApp(int argc, char* argv[]) {
    TerminationSignals::InstallHandlers();
    InstallFolderFacts facts = ReadInstallFolderFacts();
    // An installed program's folder holds the system's programs, whoever
    // may write to it.
    if (IsInstalledProgram(facts.executableFolder)) {
        facts.executableFolderWritable = false;
    }
    const std::filesystem::path install = ChooseInstallFolder(facts);
    SingleInstance instance(SingleInstance::DefaultLockFile(install));
    const std::filesystem::path socket =
        RaiseSocketPath(install, EnvironmentValue("XDG_RUNTIME_DIR"));
    if (const std::optional<int> status = AnswerBeforeStart(argc, argv, instance, socket)) {
        return *status;
    }
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Korvana MP3 Finder"));
    application.setApplicationVersion(QString::fromLatin1(kProgramVersion));
    application.setDesktopFileName(QStringLiteral("korvana"));
    application.setQuitOnLastWindowClosed(false);
    InitResources();
    application.setWindowIcon(QIcon(QStringLiteral(":/res/icons/app.svg")));
    QtSettingsStore settings;
    SystemClock clock;
    QtPrompter prompter;
    QtDesktopOpener opener{prompter};
    const std::filesystem::path executableFolder = facts.executableFolder;
    FinderApp app(FinderPlatform{
        install, settings, clock, prompter, opener, [executableFolder](const Folders& folders) {
            return std::make_unique<PosixCoreProcess>(
                folders.core, ChooseCoreProgram(folders.core, executableFolder));
        }});
    prompter.SetParentWindow(&app.Window());
    const RaiseServer raiseServer(socket, [&app] { app.Raise(); });
    app.Start(application);
    app.OfferMediaControls();
    return application.exec();
}

}  // namespace korvana
