#include "app/ui/MainWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/FolderClearer.h"
#include "app/ui/ShutdownDialog.h"
#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"

namespace korvana {

namespace {

// Entries deleted per pass of the clearing timer: small enough that the
// window keeps painting during a large clear.
constexpr std::size_t kClearBatch = 64;

QWidget* PlaceholderPage(const QString& name, const QString& title, QWidget* parent) {
    auto* page = new QLabel(title, parent);
    page->setObjectName(name);
    page->setAlignment(Qt::AlignCenter);
    return page;
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QWidget(parent),
      services_(std::move(services)),
      pageHost_(new QStackedWidget(this)),
      stopper_(services_.clock, services_.core) {
    setObjectName(QStringLiteral("IDD_MAINWINDOW"));
    setWindowTitle(QStringLiteral("Korvana MP3 Finder"));
    pageHost_->setObjectName(QStringLiteral("IDC_PAGE_HOST"));
    pageHost_->addWidget(PlaceholderPage(QStringLiteral("IDD_SEARCH"), tr("Search"), pageHost_));
    pageHost_->addWidget(
        PlaceholderPage(QStringLiteral("IDD_TRANSFERS"), tr("Transfers"), pageHost_));
    pageHost_->addWidget(PlaceholderPage(QStringLiteral("IDD_LIBRARY"), tr("Library"), pageHost_));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildMenus();
    layout->addWidget(pageHost_);
    resize(1000, 700);

    stopTimer_.setInterval(static_cast<int>(kShutdownTick.count()));
    connect(&stopTimer_, &QTimer::timeout, this, &MainWindow::PollCoreStop);
    clearTimer_.setInterval(0);
    connect(&clearTimer_, &QTimer::timeout, this, [this] {
        if (clearer_->Step(kClearBatch)) {
            clearTimer_.stop();
            clearer_.reset();
            if (confirmClear_) {
                services_.prompter.Inform("Incomplete directory cleared.", "Done Clearing");
            }
        }
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Locate Download Folder"), this,
                    [this] { services_.opener.OpenPath(services_.folders.downloads.string()); });
    file->addAction(QStringLiteral("&Clear Incomplete Directory"), this,
                    [this] { ClearIncompleteFolder(true); });
    file->addAction(QStringLiteral("E&xit"), this, &MainWindow::StartCloseSequence);
}

void MainWindow::ClearIncompleteFolder(bool confirm) {
    if (clearer_) {
        // The clear under way covers this request too; only the
        // confirmation is added.
        confirmClear_ = confirmClear_ || confirm;
        return;
    }
    confirmClear_ = confirm;
    clearer_ = std::make_unique<FolderClearer>(services_.folders.incomplete);
    clearTimer_.start();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    StartCloseSequence();
}

void MainWindow::StartCloseSequence() {
    if (closing_) {
        return;
    }
    closing_ = true;
    shutdownDialog_ = std::make_unique<ShutdownDialog>();
    shutdownDialog_->show();
    hide();
    if (stopper_.Start(services_.sendShutdown)) {
        FinishClose();
        return;
    }
    stopTimer_.start();
}

void MainWindow::PollCoreStop() {
    if (stopper_.Poll()) {
        stopTimer_.stop();
        FinishClose();
    }
}

void MainWindow::FinishClose() {
    shutdownDialog_->hide();
    shutdownDialog_.reset();
    finished_ = true;
    close();
    emit Finished();
}

}  // namespace korvana
