#pragma once

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
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

// What the main window needs from the rest of the program. The callbacks
// left empty do nothing.
struct MainWindowServices {
    const Folders& folders;
    const Clock& clock;
    CoreProcess& core;
    Prompter& prompter;
    DesktopOpener& opener;
    // Tells the core to shut down (sends the shutdown frame once).
    std::function<void()> sendShutdown{};
    // "host:port" of a core that is not ours, which Exit leaves running;
    // empty for our own core.
    std::string remoteCoreAddress{};
    // The vendor's web address, for the Help menu's pages.
    std::string vendorUrl{};
    // The core's statistics and the web downloads' totals, as they are now.
    std::function<StatusInputs()> readStatus{};
    // Asks the daily update check whether a day has passed.
    std::function<void()> askUpdateCheck{};
    // Runs the preferences dialog modally.
    std::function<void()> openPreferences{};
    std::function<void()> openFeedback{};
    // Called once when the close sequence begins.
    std::function<void()> beforeClose{};
    // The Transfers page's downloads label shows the downloads pane's text.
    std::function<void(const std::string&)> setDownloadsLabel{};
    // Where the close sequence notes how the core was stopped.
    StatusLog* statusLog = nullptr;
    // The downloads folder as it is now (Preferences can move it); without
    // it, the one in `folders`.
    std::function<std::filesystem::path()> downloadsFolder{};
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

class MainWindow : public QWidget, private MenuOwner {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowServices services, MainWindowPages pages = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    // Shows the window where and as large as it was when it last closed;
    // maximized the first time.
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

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
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
