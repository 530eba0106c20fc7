#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/Folders.h"
#include "app/StartupSequences.h"

class QStackedWidget;

namespace korvana {

class Clock;
class CoreProcess;
class DesktopOpener;
class FolderClearer;
class Prompter;
class ShutdownDialog;

// What the main window needs from the rest of the program.
struct MainWindowServices {
    const Folders& folders;
    const Clock& clock;
    const CoreProcess& core;
    Prompter& prompter;
    DesktopOpener& opener;
    // Tells the core to shut down (sends the shutdown frame once).
    std::function<void()> sendShutdown;
};

// The one top-level window: caption "Korvana MP3 Finder", the page host,
// the menus, and the close sequence that stops the core before the window
// goes away.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // File > Clear Incomplete Directory, and the clearing at start-up; the
    // confirmation box is shown only when `confirm` is set.
    void ClearIncompleteFolder(bool confirm);
    bool IsClosing() const { return closing_; }

  public slots:
    // The close sequence: hide, show the shutdown dialog, stop the core,
    // then close for good. Runs once, whatever asks for it.
    void StartCloseSequence();

  signals:
    // Emitted when the window has closed for good and the program may end.
    void Finished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void PollCoreStop();
    void FinishClose();

    MainWindowServices services_;
    QStackedWidget* pageHost_;
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
