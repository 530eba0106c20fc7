#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include "../../transfers/TransfersTestSupport.h"
#include "core/StatusLog.h"
#include "tests/support/FakeClock.h"
#include "tests/ui/UiWait.h"
#include "transfers/TransferList.h"
#include "transfers/ui/ProgressCellDelegate.h"
#include "transfers/ui/TransfersPage.h"

namespace korvana {
namespace {

using Lines = std::vector<std::string>;

class TransfersPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        page.resize(1000, 700);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    void TearDown() override {
        page.ContextMenu().CloseWholeMenu();
        QCoreApplication::processEvents();
    }

    void AddCore(int number, const std::string& name, std::int64_t size, std::int64_t downloaded,
                 std::uint8_t state = 0) {
        TransferItem item;
        item.key = TransferKey::Core(number);
        item.name = name;
        item.size = size;
        item.downloaded = downloaded;
        item.coreState = state;
        item.rate = 40960.0f;
        item.startTime = clock.WallNow();
        list.AddOrUpdateDownload(item);
    }

    void Refresh() {
        clock.Advance(std::chrono::seconds(1));
        page.Refresh();
    }

    QLabel* Label(const char* name) { return page.findChild<QLabel*>(name); }

    static Lines Titles(QTableView* view) {
        Lines titles;
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            titles.push_back(
                view->model()->headerData(column, Qt::Horizontal).toString().toStdString());
        }
        return titles;
    }

    // Right-clicks the downloads list at `pos` in its viewport.
    void RightClick(QPoint pos) {
        QWidget* viewport = page.DownloadsView()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
        QCoreApplication::sendEvent(viewport, &event);
        QCoreApplication::processEvents();
    }
    QPoint RowPoint(int row) {
        return page.DownloadsView()
            ->visualRect(page.DownloadsView()->model()->index(row, 0))
            .center();
    }
    Lines MenuTexts() {
        Lines texts;
        CGradientMenu& menu = page.ContextMenu();
        const MenuTable* table = menu.Detach();
        for (const MenuItem& item : table->items) {
            texts.push_back(item.separator ? "-" : item.text);
        }
        return texts;
    }
    void ClickMenuRow(int row) {
        CGradientMenu& menu = page.ContextMenu();
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.RowRect(row).center());
        QCoreApplication::processEvents();
    }

    test::FakeClock clock;
    StatusLog log;
    TransferList list{clock, log};
    test::RecordingTransferCommands core;
    test::RecordingStopper web;
    TransfersPage page{{list, core, &web, clock, log}};
};

TEST_F(TransfersPageTest, ListsLabelsAndTheBlockedEnterKey) {
    EXPECT_EQ(page.objectName(), "IDD_TRANSFERS");
    EXPECT_EQ(Titles(page.DownloadsView()),
              (Lines{"Name", "Progress", "D/L Rate", "Time Left", "File Size", "Status", "Link",
                     "Progress", "Size"}));
    EXPECT_EQ(Titles(page.UploadsView()), (Lines{"File Name", "Bytes Uploaded", "File_ID"}));
    EXPECT_TRUE(page.DownloadsView()->isColumnHidden(kDownloadLink));
    EXPECT_TRUE(page.DownloadsView()->isColumnHidden(kDownloadProgress));
    EXPECT_TRUE(page.UploadsView()->isColumnHidden(kUploadFileId));
    EXPECT_EQ(page.DownloadsView()->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(page.DownloadsView()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(page.DownloadsView()->showGrid());
    EXPECT_TRUE(page.DownloadsView()->horizontalHeader()->sectionsMovable());
    EXPECT_EQ(Label("IDC_DOWNLOADS_LABEL")->text(), "Downloading 0 files");
    EXPECT_EQ(Label("IDC_UPLOADS_LABEL")->text(), "Uploading 0 files");
    auto* blockEnter = page.findChild<QPushButton*>("IDC_BLOCK_ENTER");
    ASSERT_NE(blockEnter, nullptr);
    EXPECT_EQ(blockEnter->text(), "BLOCK_ENTER");
    EXPECT_TRUE(blockEnter->isDefault());
    EXPECT_TRUE(blockEnter->isHidden());

    page.SetDownloadsLabel("Downloading 1 file");
    EXPECT_EQ(Label("IDC_DOWNLOADS_LABEL")->text(), "Downloading 1 file");
}

TEST_F(TransfersPageTest, TheListsShareTheHeightAndTheColumnsTheWidth) {
    // h = (700 - 150) / 2
    EXPECT_EQ(page.DownloadsView()->geometry(), QRect(5, 60, 990, 275));
    EXPECT_EQ(page.UploadsView()->geometry(), QRect(5, 385, 990, 275));
    EXPECT_EQ(Label("IDC_DOWNLOADS_LABEL")->geometry().bottom(), 59);
    EXPECT_EQ(Label("IDC_UPLOADS_LABEL")->geometry().bottom(), 384);
    const int inner = 990 - 2 * page.DownloadsView()->frameWidth();
    EXPECT_EQ(page.DownloadsView()->columnWidth(kDownloadName), static_cast<int>(0.28 * inner));
    EXPECT_EQ(page.DownloadsView()->columnWidth(kDownloadBar), static_cast<int>(0.17 * inner));
    EXPECT_EQ(page.DownloadsView()->columnWidth(kDownloadRate), static_cast<int>(0.10 * inner));
    EXPECT_EQ(page.UploadsView()->columnWidth(kUploadName), static_cast<int>(0.75 * inner));
}

TEST_F(TransfersPageTest, RowsFollowTheListAtEveryRefresh) {
    QAbstractItemModelTester downloadsTester(page.DownloadsView()->model());
    QAbstractItemModelTester uploadsTester(page.UploadsView()->model());
    AddCore(1, "first.mp3", 1000, 500);
    Refresh();
    AddCore(2, "second.mp3", 1000, 0);
    UploadItem upload;
    upload.fileNumber = 1;
    upload.name = "shared.mp3";
    upload.uploaded = 100;
    upload.lastUpdate = clock.WallNow();
    list.AddOrUpdateUpload(upload);
    Refresh();
    QAbstractItemModel* model = page.DownloadsView()->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, kDownloadName).data().toString(), "first.mp3");
    EXPECT_EQ(model->index(1, kDownloadStatus).data().toString(), "File Downloading");
    EXPECT_EQ(model->index(0, kDownloadRate).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter);
    EXPECT_EQ(page.UploadsView()->model()->rowCount(), 1);
    EXPECT_EQ(Label("IDC_UPLOADS_LABEL")->text(), "Uploading 1 file");
}

TEST_F(TransfersPageTest, TheMenuFollowsTheRowAndItsCommandsReachTheCore) {
    AddCore(4, "running.mp3", 1000, 500);
    AddCore(5, "paused.mp3", 1000, 500, 1);
    Refresh();
    RightClick(RowPoint(1));
    ASSERT_TRUE(page.ContextMenu().IsOpen());
    EXPECT_EQ(page.ContextMenu().objectName(), "IDR_CORE_DOWNLOAD_MENU");
    ClickMenuRow(0);  // Pause Download
    EXPECT_EQ(core.sent, (Lines{"pause 4"}));

    RightClick(RowPoint(0));
    EXPECT_EQ(page.ContextMenu().objectName(), "IDR_PAUSED_DOWNLOAD_MENU");
    ClickMenuRow(1);  // Cancel Download
    EXPECT_EQ(core.sent, (Lines{"pause 4", "cancel 5"}));
    // The command's effect shows at once.
    EXPECT_EQ(page.DownloadsView()->model()->index(0, kDownloadStatus).data().toString(),
              "Download Cancelled");

    RightClick(QPoint(10, page.DownloadsView()->viewport()->height() - 5));
    EXPECT_EQ(page.ContextMenu().objectName(), "IDR_NO_DOWNLOAD_MENU");
    EXPECT_EQ(page.Board().MenuRow(), -1);
    ClickMenuRow(2);  // Clear Completed
    EXPECT_EQ(page.DownloadsView()->model()->rowCount(), 1);

    // The paused download is paused already, before the core confirms it.
    RightClick(RowPoint(0));
    EXPECT_EQ(MenuTexts(), (Lines{"Resume Download", "Cancel Download", "Cancel All Downloads", "-",
                                  "Clear Completed"}));
}

// The core's reports reach the rows without anyone asking the page.
TEST_F(TransfersPageTest, RowsFollowTheListsChangesByThemselves) {
    QAbstractItemModel* model = page.DownloadsView()->model();
    AddCore(1, "first.mp3", 1000, 500, 1);
    ASSERT_TRUE(test::WaitUntil([&] { return model->rowCount() == 1; }));
    list.UpdateDownloadProgress(1, 750, 0.0);
    EXPECT_TRUE(test::WaitUntil(
        [&] { return model->index(0, kDownloadProgress).data().toString() == "75"; }));
}

// While nothing runs, no timer runs: the page waits for the list to change.
// While a download runs, its time left moves with the clock alone, and the
// page refreshes by itself.
TEST_F(TransfersPageTest, ThePageRefreshesByItselfOnlyWhileADownloadRuns) {
    QAbstractItemModel* model = page.DownloadsView()->model();
    QSignalSpy refreshes(&page, &TransfersPage::Refreshed);
    const auto status = [&] { return model->index(0, kDownloadStatus).data().toString(); };
    const auto quiet = [&] {
        refreshes.clear();
        QTest::qWait(TransfersPage::kRefreshGap.count() * 3 / 2);
        return refreshes.count();
    };
    AddCore(1, "paused.mp3", 1000, 500, 1);
    ASSERT_TRUE(test::WaitUntil([&] { return model->rowCount() == 1; }));
    EXPECT_EQ(quiet(), 0);

    list.AddOrUpdateDownload([] {
        TransferItem resumed;
        resumed.key = TransferKey::Core(1);
        resumed.size = 1000;
        resumed.downloaded = 500;
        return resumed;
    }());
    ASSERT_TRUE(test::WaitUntil([&] { return status() == "File Downloading"; }));
    const QString timeLeft = model->index(0, kDownloadTimeLeft).data().toString();
    clock.Advance(std::chrono::seconds(60));
    EXPECT_TRUE(test::WaitUntil(
        [&] { return model->index(0, kDownloadTimeLeft).data().toString() != timeLeft; }));
    EXPECT_TRUE(test::WaitUntil([&] { return refreshes.count() >= 2; }));

    list.UpdateDownloadProgress(1, 1000, 0.0);  // complete
    ASSERT_TRUE(test::WaitUntil([&] { return status() == "Download Completed"; }));
    EXPECT_EQ(quiet(), 0);
}

// What the window shows of a cell: its backing store, which changes only
// where the view repainted (grabbing the widget would paint it afresh).
QImage OnScreen(QTableView* view, const QModelIndex& index) {
    QWidget* window = view->window();
    const QRect cell =
        view->visualRect(index).translated(view->viewport()->mapTo(window, QPoint(0, 0)));
    return window->windowHandle()
        ->screen()
        ->grabWindow(window->winId(), cell.x(), cell.y(), cell.width(), cell.height())
        .toImage();
}

// Only the percentage moves here: the rate is the same and the time left
// comes out the same, so no other cell of the row is written.
TEST_F(TransfersPageTest, ABarIsRepaintedWhenOnlyItsPercentageChanges) {
    AddCore(1, "growing.mp3", 1000, 100);
    Refresh();
    Refresh();  // 900 bytes to go at 50 bytes a second
    QAbstractItemModel* model = page.DownloadsView()->model();
    const QString timeLeft = model->index(0, kDownloadTimeLeft).data().toString();
    EXPECT_EQ(timeLeft, "00:00:18");
    QTableView* view = page.DownloadsView();
    const QModelIndex bar = model->index(0, kDownloadBar);
    const QRect drawn =
        ProgressCellDelegate::BarRect(QRect(QPoint(0, 0), view->visualRect(bar).size()));
    const QPoint start(drawn.left() + 1, drawn.top() + 2);
    const QPoint atEightyPercent(drawn.left() + drawn.width() * 8 / 10, drawn.top() + 2);
    const auto shown = [&](QPoint point) { return OnScreen(view, bar).pixelColor(point); };
    ASSERT_TRUE(test::WaitUntil([&] { return shown(start).red() > 200; }));
    // Repaints of the whole window that showing it brings (activation,
    // focus) are over before the update.
    QTest::qWait(300);
    EXPECT_EQ(shown(atEightyPercent), QColor(Qt::white));

    // The core's progress message moves the percentage; the page stays.
    list.UpdateDownloadProgress(1, 900, 40960.0);
    clock.Advance(std::chrono::seconds(159));
    Refresh();  // 100 bytes to go at 900 bytes in 162 seconds
    EXPECT_EQ(model->index(0, kDownloadTimeLeft).data().toString(), timeLeft);
    EXPECT_TRUE(test::WaitUntil([&] { return shown(atEightyPercent) != QColor(Qt::white); }, 1000));
}

TEST_F(TransfersPageTest, EveryVisibleRowHasItsProgressBar) {
    AddCore(1, "The Loopbacks - Localhost Blues.mp3", 4'200'000, 3'150'000);
    AddCore(2, "Null Route - Packet Loss Lullaby.mp3", 6'400'000, 640'000);
    AddCore(3, "Port Forty One Hundred.mp3", 5'000'000, 5'000'000, 3);
    AddCore(4, "Waiting For Sources.mp3", 3'000'000, 0, 7);
    list.OpenWebDownload("http://127.0.0.1:8080/files/Web%20Song.mp3", "Web Song.mp3");
    Refresh();
    list.ReportWebDownload("http://127.0.0.1:8080/files/Web%20Song.mp3", "Web Song.mp3", 0,
                           2'000'000, 0);
    clock.Advance(std::chrono::seconds(8));
    list.ReportWebDownload("http://127.0.0.1:8080/files/Web%20Song.mp3", "Web Song.mp3", 1'250'000,
                           2'000'000, 0);
    UploadItem upload;
    upload.fileNumber = 3;
    upload.name = "Port Forty One Hundred.mp3";
    upload.uploaded = 1'572'864;
    upload.lastUpdate = clock.WallNow();
    list.AddOrUpdateUpload(upload);
    Refresh();
    page.SetDownloadsLabel("Downloading 3 files");
    Refresh();

    const QImage image = page.grab().toImage();
    if (const QByteArray path = qgetenv("KORVANA_TRANSFERS_SCREENSHOT"); !path.isEmpty()) {
        image.save(QString::fromLocal8Bit(path));
    }
    QTableView* view = page.DownloadsView();
    const QPoint origin = view->viewport()->mapTo(&page, QPoint(0, 0));
    const auto bar = [&](int row) {
        return ProgressCellDelegate::BarRect(
                   view->visualRect(view->model()->index(row, kDownloadBar)))
            .translated(origin);
    };
    // Row 3 is 10 % done: red at the left, white after.
    EXPECT_GT(image.pixelColor(bar(3).left() + 1, bar(3).top() + 2).red(), 200);
    EXPECT_EQ(image.pixelColor(bar(3).right() - 2, bar(3).top() + 2), QColor(Qt::white));
    // Row 2, the shared file, is whole: blue at the right end.
    EXPECT_GT(image.pixelColor(bar(2).right() - 1, bar(2).top() + 2).blue(), 200);
    // Row 1, queued, has no byte yet: white from the left.
    EXPECT_EQ(image.pixelColor(bar(1).left() + 1, bar(1).top() + 2), QColor(Qt::white));
}

}  // namespace
}  // namespace korvana
