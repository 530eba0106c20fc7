#include <gtest/gtest.h>
#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <fstream>

#include "../../transfers/TransfersTestSupport.h"
#include "controls/ListMemory.h"
#include "core/StatusLog.h"
#include "tests/support/FakeClock.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"
#include "transfers/ui/TransfersPage.h"

namespace korvana {
namespace {

using Lines = std::vector<std::string>;

// A page whose finished downloads lie in a folder of the test's own.
struct PageUnderTest {
    PageUnderTest(TransferList& list, const Clock& clock, StatusLog& log,
                  const std::filesystem::path& folder)
        : page({list, core, &web, clock, log, [folder] { return folder; }}) {}
    test::RecordingTransferCommands core;
    test::RecordingStopper web;
    TransfersPage page;
};

class TransfersSortAndFilesTest : public ::testing::Test {
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
                 std::uint8_t state = 0, float rate = 0.0f) {
        TransferItem item;
        item.key = TransferKey::Core(number);
        item.name = name;
        item.size = size;
        item.downloaded = downloaded;
        item.coreState = state;
        item.rate = rate;
        item.startTime = clock.WallNow();
        list.AddOrUpdateDownload(item);
    }
    void Refresh() {
        clock.Advance(std::chrono::seconds(1));
        page.Refresh();
    }
    QAbstractItemModel* Model() { return page.DownloadsView()->model(); }
    QString Text(int row, int column, int role = Qt::DisplayRole) {
        return Model()->index(row, column).data(role).toString();
    }
    Lines Names() {
        Lines names;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            names.push_back(Text(row, kDownloadName).toStdString());
        }
        return names;
    }
    void ClickHeader(QTableView* view, int section) {
        QHeaderView* header = view->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    QPoint RowPoint(int row) {
        return page.DownloadsView()->visualRect(Model()->index(row, kDownloadName)).center();
    }
    void RightClick(int row) {
        QWidget* viewport = page.DownloadsView()->viewport();
        const QPoint pos = RowPoint(row);
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
        QCoreApplication::sendEvent(viewport, &event);
        QCoreApplication::processEvents();
    }
    void ClickMenuRow(int row) {
        CGradientMenu& menu = page.ContextMenu();
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.RowRect(row).center());
        QCoreApplication::processEvents();
    }
    // A file of the 100 bytes the finished downloads here have.
    void PutFile(const std::string& name) {
        std::ofstream(folder.Path() / name) << std::string(100, 'a');
    }
    int RowOf(const std::string& name) {
        const Lines names = Names();
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    }

    test::TempDir folder;
    test::FakeClock clock;
    StatusLog log;
    TransferList list{clock, log};
    PageUnderTest under{list, clock, log, folder.Path()};
    TransfersPage& page = under.page;
};

TEST_F(TransfersSortAndFilesTest, TheSizeColumnStandsBesideFileSizeInHumanUnits) {
    QAbstractItemModelTester tester(Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    AddCore(1, "song.mp3", 4404019, 0);
    Refresh();
    QHeaderView* header = page.DownloadsView()->horizontalHeader();
    EXPECT_EQ(Model()->headerData(kDownloadHumanSize, Qt::Horizontal).toString(), "Size");
    EXPECT_EQ(header->visualIndex(kDownloadHumanSize), header->visualIndex(kDownloadSize) + 1);
    EXPECT_FALSE(page.DownloadsView()->isColumnHidden(kDownloadHumanSize));
    EXPECT_EQ(Text(0, kDownloadHumanSize), "4.2 MB");
    EXPECT_EQ(Text(0, kDownloadSize), "4404019");
    EXPECT_EQ(Text(0, kDownloadSize, Qt::ToolTipRole), "4.2 MB (4,404,019 bytes)");
    EXPECT_EQ(Text(0, kDownloadBar, Qt::ToolTipRole), "0 bytes of 4.2 MB received (0%)");
}

TEST_F(TransfersSortAndFilesTest, AHeaderClickSortsAndTheSelectionStaysWithItsDownload) {
    QAbstractItemModelTester tester(Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    AddCore(1, "small.mp3", 900, 100, 0, 100.0f);
    AddCore(2, "large.mp3", 10000, 100, 0, 200.0f);
    AddCore(3, "tiny.mp3", 50, 10, 0, 300.0f);
    Refresh();
    const Lines arrived = Names();
    const QIcon unsorted =
        Model()->headerData(kDownloadHumanSize, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
    page.DownloadsView()->selectRow(RowOf("small.mp3"));

    ClickHeader(page.DownloadsView(), kDownloadHumanSize);
    EXPECT_EQ(Names(), (Lines{"large.mp3", "small.mp3", "tiny.mp3"}));
    const QIcon descending =
        Model()->headerData(kDownloadHumanSize, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
    EXPECT_NE(unsorted.pixmap(16).toImage(), descending.pixmap(16).toImage());
    ClickHeader(page.DownloadsView(), kDownloadHumanSize);
    EXPECT_EQ(Names(), (Lines{"tiny.mp3", "small.mp3", "large.mp3"}));
    EXPECT_NE(arrived, Names());

    // Sorted by rate, a refresh that changes a rate moves its row; the
    // selection and the menu stay with their download.
    ClickHeader(page.DownloadsView(), kDownloadRate);
    EXPECT_EQ(Names(), (Lines{"tiny.mp3", "large.mp3", "small.mp3"}));
    list.UpdateDownloadProgress(1, 200, 900.0);
    Refresh();
    EXPECT_EQ(Names(), (Lines{"small.mp3", "tiny.mp3", "large.mp3"}));
    const QModelIndexList selected = page.DownloadsView()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().data().toString(), "small.mp3");
    RightClick(RowOf("large.mp3"));
    list.UpdateDownloadProgress(2, 200, 5000.0);
    Refresh();
    ASSERT_EQ(RowOf("large.mp3"), 0);
    ClickMenuRow(1);  // Cancel Download
    EXPECT_EQ(under.core.sent, (Lines{"cancel 2"}));
}

TEST_F(TransfersSortAndFilesTest, TheUploadsSortByTheirByteCounts) {
    QAbstractItemModel* uploads = page.UploadsView()->model();
    QAbstractItemModelTester tester(uploads, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const auto& [number, bytes] : {std::pair{1, 900}, {2, 10000}, {3, 50}}) {
        UploadItem item;
        item.fileNumber = number;
        item.name = "shared " + std::to_string(number) + ".mp3";
        item.uploaded = bytes;
        item.lastUpdate = clock.WallNow();
        list.AddOrUpdateUpload(item);
    }
    Refresh();
    ClickHeader(page.UploadsView(), kUploadBytes);
    ASSERT_EQ(uploads->rowCount(), 3);
    EXPECT_EQ(uploads->index(0, kUploadBytes).data().toString(), "10000");
    EXPECT_EQ(uploads->index(1, kUploadBytes).data().toString(), "900");
    EXPECT_EQ(uploads->index(2, kUploadBytes).data().toString(), "50");
    EXPECT_EQ(uploads->index(0, kUploadBytes).data(Qt::ToolTipRole).toString(),
              "9.8 kB (10,000 bytes) uploaded");
}

TEST_F(TransfersSortAndFilesTest, TheSortIsKeptWithTheListsOtherColumnState) {
    test::MemorySettings settings;
    (new ListMemory(*page.DownloadsView(), settings, "Lists/IDC_DOWNLOAD_LIST"))->Restore();
    ClickHeader(page.DownloadsView(), kDownloadHumanSize);
    ClickHeader(page.DownloadsView(), kDownloadHumanSize);

    PageUnderTest next(list, clock, log, folder.Path());
    (new ListMemory(*next.page.DownloadsView(), settings, "Lists/IDC_DOWNLOAD_LIST"))->Restore();
    EXPECT_EQ(next.page.Board().DownloadSort().Column(), kDownloadHumanSize);
    EXPECT_TRUE(next.page.Board().DownloadSort().Ascending());
}

TEST_F(TransfersSortAndFilesTest, ADoubleClickPlaysAFinishedDownloadWhoseFileIsThere) {
    QSignalSpy played(&page, &TransfersPage::PlayRequested);
    PutFile("done.mp3");
    PutFile("running.mp3");
    AddCore(1, "done.mp3", 100, 100, kCoreStateDownloaded);
    AddCore(2, "running.mp3", 100, 50);
    AddCore(3, "moved away.mp3", 100, 100, kCoreStateDownloaded);
    Refresh();
    for (const char* name : {"running.mp3", "moved away.mp3", "done.mp3"}) {
        const QPoint at = RowPoint(RowOf(name));
        QTest::mouseClick(page.DownloadsView()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(page.DownloadsView()->viewport(), Qt::LeftButton, {}, at);
    }
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played.front().front().toString().toStdString(),
              (folder.Path() / "done.mp3").string());
}

TEST_F(TransfersSortAndFilesTest, ShowInFolderAsksForTheFolderOfAFinishedDownload) {
    QSignalSpy shown(&page, &TransfersPage::ShowFolderRequested);
    PutFile("done.mp3");
    AddCore(1, "done.mp3", 100, 100, kCoreStateShared);
    AddCore(2, "moved away.mp3", 100, 100, kCoreStateShared);
    Refresh();
    RightClick(RowOf("moved away.mp3"));
    EXPECT_EQ(page.ContextMenu().objectName(), "IDR_ENDED_DOWNLOAD_MENU");
    page.ContextMenu().CloseWholeMenu();

    RightClick(RowOf("done.mp3"));
    ASSERT_EQ(page.ContextMenu().objectName(), "IDR_FINISHED_DOWNLOAD_MENU");
    ClickMenuRow(0);  // Show in Folder
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front().front().toString().toStdString(), folder.Path().string());
    EXPECT_EQ(Model()->rowCount(), 2);
}

}  // namespace
}  // namespace korvana
