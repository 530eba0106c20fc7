#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "app/Folders.h"
#include "app/StartupSequences.h"
#include "app/StatusTexts.h"
#include "controls/MenuOwner.h"

class QFrame;
class QMenuBar;
class QStackedWidget;

namespace korvana {

class CGradientMenu;
class Clock;
class CoreProcess;
class DesktopOpener;
class FolderClearer;
class Prompter;
class SettingsStore;
class ShutdownDialog;
class SkinButton;
class StatusLog;

// What the main window asks of the program around it. Each does nothing
// (or reports nothing) unless the program says otherwise, so that a test
// overrides only what it watches.
class MainWindowHost {
  public:
    virtual ~MainWindowHost() = default;
    // Tells the core to shut down (sends the shutdown frame once).
    virtual void SendShutdown() {}
    // The core's statistics and the web downloads' totals, as they are now.
    virtual StatusInputs ReadStatus() { return {}; }
    // Asks the daily update check whether a day has passed.
    virtual void AskUpdateCheck() {}
    // Runs the preferences dialog modally.
    virtual void OpenPreferences() {}
    virtual void OpenFeedback() {}
    // Called once when the close sequence begins.
    virtual void BeforeClose() {}
    // The downloads folder as it is now (Preferences can move it); empty
    // for the one the window was given.
    virtual std::filesystem::path DownloadsFolder() { return {}; }
    // Plays a file through the library's player.
    virtual void PlayFile(const std::filesystem::path& /*file*/) {}
    // Opens a folder in the desktop's file manager.
    virtual void ShowFolder(const std::filesystem::path& /*folder*/) {}
};

// What the main window needs from the rest of the program.
struct MainWindowServices {
    const Folders& folders;
    const Clock& clock;
    CoreProcess& core;
    Prompter& prompter;
    DesktopOpener& opener;
    // Null: a host that does nothing.
    MainWindowHost* host = nullptr;
    // "host:port" of a core that is not ours, which Exit leaves running;
    // empty for our own core.
    std::string remoteCoreAddress{};
    // The vendor's web address, for the Help menu's pages.
    std::string vendorUrl{};
    // Where the close sequence notes how the core was stopped.
    StatusLog* statusLog = nullptr;
    // Where the window's place and size and the lists' columns are kept
    // across restarts; nothing is kept without it.
    SettingsStore* settings = nullptr;
};

// The three pages; a page not given gets a placeholder.
struct MainWindowPages {
    QWidget* search = nullptr;
    QWidget* transfers = nullptr;
    QWidget* library = nullptr;
};

// The one top-level window, "Korvana MP3 Finder": the page buttons, the
// page host with its three pages, the status row, the drawn menus, and the
// close sequence that stops the core before the window goes away.
// The settings key of the window's place and size.
inline constexpr const char* kWindowGeometryKey = "WindowGeometry";
// The settings key of the page shown when the window last closed.
inline constexpr const char* kLastPageKey = "LastPage";

class MainWindow : public QWidget, private MenuOwner {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowServices services, MainWindowPages pages = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window where and as large as it was when it last closed,
    // on the page it showed then; maximized on Search the first time.
    void ShowAsLastTime();

    // Shows page 0 (Search), 1 (Transfers) or 2 (Library) and asks the
    // daily update check.
    void ShowPage(int index);
    int VisiblePage() const;
    // Recomputes the four status texts. GUI thread only.
    void RefreshStatusPanes();

    // File > Clear Incomplete Directory, and the clearing at start-up; the
    // confirmation box is shown only when `confirm` is set.
    void ClearIncompleteFolder(bool confirm);
    // From ClearIncompleteFolder until the folder has been walked and any
    // confirmation shown.
    bool ClearingIncomplete() const { return clearer_ != nullptr; }
    bool IsClosing() const { return closing_; }
    // Runs a menu command as if chosen from its menu.
    void RunCommand(int commandId);
    // Opens the menu bar's menu `index` (0 File to 3 Help) under the bar.
    void OpenMenu(int index);
    CGradientMenu* OpenMenuPopup() const { return popup_.get(); }

  public slots:
    // The close sequence: hide, show the shutdown dialog, stop the core,
    // then close for good. Runs once, whatever asks for it.
    void StartCloseSequence();

  signals:
    // Emitted when the window has closed for good and the program may end.
    void Finished();
    // The downloads pane's text changed; the Transfers page's label shows it.
    void DownloadsTextChanged(const QString& text);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::filesystem::path DownloadsFolderNow();
    void LayOutClient();
    void BuildPageButtons();
    void BuildStatusRow();
    void BuildMenuBar();
    void AddPages(const MainWindowPages& pages);
    void KeepListColumns();
    void SetLeastSize();
    void OpenVendorPage(const std::string& path);
    void ShowAbout();
    void PollCoreStop();
    void FinishClose();

    void OnMenuCommand(int commandId) override;
    void OnExitMenuLoop(const MenuTable& menu) override;

    MainWindowServices services_;
    // The program's host, or one that does nothing.
    MainWindowHost idleHost_;
    MainWindowHost& host_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
    QStackedWidget* pageHost_ = nullptr;
    std::array<SkinButton*, 3> pageButtons_{};
    SkinButton* preferencesButton_ = nullptr;
    std::array<SkinButton*, 6> statusRow_{};  // filler, 4 panes, filler
    QFrame* separator_ = nullptr;
    std::unique_ptr<CGradientMenu> popup_;
    std::unique_ptr<MenuTable> popupTable_;
    std::unique_ptr<ShutdownDialog> shutdownDialog_;
    CoreStopper stopper_;
    QTimer stopTimer_;
    std::unique_ptr<FolderClearer> clearer_;
    QTimer clearTimer_;
    bool confirmClear_ = false;
    bool closing_ = false;
    bool finished_ = false;
};

}  // namespace korvana
