// The main window's menus and commands, and its close sequence.
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

#include "app/FolderClearer.h"
#include "app/ui/AboutDialog.h"
#include "app/ui/MainWindow.h"
#include "app/ui/ShutdownDialog.h"
#include "controls/CGradientMenu.h"
#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"
#include "platform/SettingsStore.h"
#include "res/MenuTables.h"
#include "res/ResourceIds.h"

namespace korvana {

namespace {

// Entries deleted per pass of the clearing timer: small enough that the
// window keeps painting during a large clear.
constexpr std::size_t kClearBatch = 64;

res::MenuBarEntry MenuBarEntryAt(int index) {
    switch (index) {
        case 0:
            return res::FileMenu();
        case 1:
            return res::WindowMenu();
        case 2:
            return res::FeedbackMenu();
        default:
            return res::HelpMenu();
    }
}

}  // namespace

void MainWindow::BuildMenuBar() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName(QStringLiteral("IDR_MENU_BAR"));
    layout()->setMenuBar(menuBar_);
    for (int i = 0; i < 4; ++i) {
        QAction* action = menuBar_->addAction(QString::fromStdString(MenuBarEntryAt(i).title));
        connect(action, &QAction::triggered, this, [this, i] { OpenMenu(i); });
    }
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

void MainWindow::OpenMenu(int index) {
    res::MenuBarEntry entry = MenuBarEntryAt(index);
    if (popup_) {
        popup_->CloseWholeMenu();
    }
    popupTable_ = std::make_unique<MenuTable>(std::move(entry.table));
    popup_ = std::make_unique<CGradientMenu>(24, 1);
    popup_->SetCaption(entry.caption);
    popup_->SetColours(Qt::black, QColor(128, 255, 128), Qt::white);
    popup_->Attach(popupTable_.get());
    const QPoint corner = client_->mapToGlobal(QPoint(0, 0));
    popup_->Popup(corner + QPoint(entry.xOffset, -1), this);
}

void MainWindow::OnExitMenuLoop(const MenuTable& menu) {
    if (popupTable_ && &menu == popupTable_.get()) {
        host_.AskUpdateCheck();
    }
}

void MainWindow::OnMenuCommand(int commandId) {
    RunCommand(commandId);
}

std::filesystem::path MainWindow::DownloadsFolderNow() {
    std::filesystem::path folder = host_.DownloadsFolder();
    return folder.empty() ? services_.folders.downloads : folder;
}

void MainWindow::RunCommand(int commandId) {
    switch (commandId) {
        case res::kLocateDownloadFolder:
            services_.opener.OpenPath(DownloadsFolderNow().string());
            break;
        case res::kClearIncomplete:
            ClearIncompleteFolder(true);
            break;
        case res::kExit:
            StartCloseSequence();
            break;
        case res::kShowSearch:
            ShowPage(0);
            break;
        case res::kShowTransfers:
            ShowPage(1);
            break;
        case res::kShowLibrary:
            ShowPage(2);
            break;
        case res::kSendFeedback:
            host_.OpenFeedback();
            break;
        case res::kViewFaq:
            OpenVendorPage(res::kFaqPath);
            break;
        case res::kViewLicense:
            OpenVendorPage(res::kLicensePath);
            break;
        case res::kContactUs:
            OpenVendorPage(res::kContactPath);
            break;
        case res::kVisitWebsite:
            OpenVendorPage("/");
            break;
        case res::kAbout:
            ShowAbout();
            break;
        default:
            break;
    }
}

void MainWindow::OpenVendorPage(const std::string& path) {
    services_.opener.OpenUrl(services_.vendorUrl + path);
}

void MainWindow::ShowAbout() {
    AboutDialog about(this);
    about.exec();
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
    if (services_.settings != nullptr) {
        services_.settings->Write(kWindowGeometryKey, saveGeometry().toBase64().toStdString());
        services_.settings->Write(kLastPageKey, std::to_string(VisiblePage()));
    }
    host_.BeforeClose();
    shutdownDialog_ = std::make_unique<ShutdownDialog>(services_.remoteCoreAddress);
    shutdownDialog_->show();
    hide();
    if (stopper_.Start([this] { host_.SendShutdown(); })) {
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
