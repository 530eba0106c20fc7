#include <QAbstractItemModelTester>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QImage>
#include <fstream>
#include <memory>

#include "LibraryPageFixture.h"
#include "app/ui/KeyFilter.h"
#include "controls/CGradientMenu.h"
#include "controls/FilterBox.h"
#include "controls/SortHeaderImages.h"
#include "library/LibraryModel.h"
#include "library/ui/LibraryArtwork.h"
#include "library/ui/LibraryLayout.h"

namespace korvana::test {
namespace {

namespace ids = library_ids;

QImage HeaderImageOf(const QTableView& list, int column) {
    const QVariant icon = list.model()->headerData(column, Qt::Horizontal, Qt::DecorationRole);
    return icon.value<QIcon>().pixmap(kSmallIconSize).toImage();
}

QImage ExpectedHeaderImage(int image) {
    return QIcon(SortHeaderImages().value(image)).pixmap(kSmallIconSize).toImage();
}

void ClickHeader(QTableView& list, int column) {
    QHeaderView* header = list.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Opens the right-click menu over a row and chooses one of its rows.
void ChooseFromFileMenu(QTableView& list, int row, int menuRow) {
    const QPoint at = list.visualRect(list.model()->index(row, 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &event);
    auto* popup = list.window()->findChild<CGradientMenu*>();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->IsOpen());
    EXPECT_EQ(popup->objectName().toStdString(), ids::kFileMenu);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->RowRect(menuRow).center());
    // The menu acts on a click once the mouse handling is over.
    EXPECT_TRUE(WaitUntil([popup] { return !popup->IsOpen(); }));
}

TEST_F(LibraryPageTest, FilesComingAndGoingChangeOnlyTheirRowsAndKeepTheSelection) {
    EXPECT_EQ(LibraryList()->model()->rowCount(), 0);
    WriteFile("big.mp3", 500);
    WriteFile("small.mp3", 100);
    WriteFile("sub/small.mp3", 120);
    ASSERT_TRUE(RefreshUntilRows(3));
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"big.mp3", "small.mp3", "small.mp3"}));
    SelectNames({"big.mp3"});

    // A newcomer goes in at its place by size, above the selected row.
    WriteFile("huge.mp3", 900);
    ASSERT_TRUE(RefreshUntilRows(4));
    EXPECT_EQ(ShownNames(),
              (std::vector<std::string>{"huge.mp3", "big.mp3", "small.mp3", "small.mp3"}));
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"big.mp3"});

    std::filesystem::remove(downloads / "sub" / "small.mp3");
    std::filesystem::remove(downloads / "huge.mp3");
    ASSERT_TRUE(RefreshUntilRows(2));
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"big.mp3", "small.mp3"}));
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"big.mp3"});
    const QModelIndex path = LibraryList()->model()->index(1, kPathColumn);
    EXPECT_EQ(path.data().toString().toStdString(), (downloads / "small.mp3").string());
    EXPECT_TRUE(LibraryList()->isColumnHidden(kPathColumn));
}

TEST_F(LibraryPageTest, ColumnClicksSortAndShowTheSortStateInTheHeader) {
    WriteFile("a.mp3", 300);
    WriteFile("b.mp3", 100);
    WriteFile("C.mp3", 200);
    ASSERT_TRUE(RefreshUntilRows(3));
    QTableView& list = *LibraryList();
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"a.mp3", "C.mp3", "b.mp3"}));
    EXPECT_EQ(HeaderImageOf(list, kSizeColumn), ExpectedHeaderImage(kHeaderDescending));
    EXPECT_EQ(HeaderImageOf(list, kFilenameColumn), ExpectedHeaderImage(kHeaderUnsorted));

    ClickHeader(list, kSizeColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"b.mp3", "C.mp3", "a.mp3"}));
    EXPECT_EQ(HeaderImageOf(list, kSizeColumn), ExpectedHeaderImage(kHeaderAscending));

    ClickHeader(list, kFilenameColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"C.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(HeaderImageOf(list, kFilenameColumn), ExpectedHeaderImage(kHeaderDescending));
    EXPECT_EQ(HeaderImageOf(list, kSizeColumn), ExpectedHeaderImage(kHeaderUnsorted));

    ClickHeader(list, kFilenameColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"a.mp3", "b.mp3", "C.mp3"}));
    EXPECT_EQ(HeaderImageOf(list, kFilenameColumn), ExpectedHeaderImage(kHeaderAscending));
    EXPECT_NE(ExpectedHeaderImage(kHeaderAscending), ExpectedHeaderImage(kHeaderDescending));
}

// The header click is a new order of the same rows: the selection and the
// current row stay on their files, without the model breaking its rules.
TEST_F(LibraryPageTest, AColumnClickKeepsTheSelectedFilesAndTheCurrentRow) {
    QAbstractItemModelTester tester(LibraryList()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    WriteFile("a.mp3", 300);
    WriteFile("b.mp3", 100);
    WriteFile("C.mp3", 200);
    WriteFile("d.mp3", 50);
    ASSERT_TRUE(RefreshUntilRows(4));
    QTableView& list = *LibraryList();
    ASSERT_EQ(ShownNames(), (std::vector<std::string>{"a.mp3", "C.mp3", "b.mp3", "d.mp3"}));
    const auto clickRow = [&list](int row, Qt::KeyboardModifiers keys) {
        const QPoint at = list.visualRect(list.model()->index(row, 0)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, keys, at);
    };
    clickRow(0, {});
    clickRow(2, Qt::ControlModifier);
    ASSERT_EQ(SelectedNames(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    const auto currentName = [&list] {
        return list.selectionModel()->currentIndex().data().toString().toStdString();
    };
    ASSERT_EQ(currentName(), "b.mp3");

    ClickHeader(list, kFilenameColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"d.mp3", "C.mp3", "b.mp3", "a.mp3"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(currentName(), "b.mp3");

    ClickHeader(list, kSizeColumn);
    ClickHeader(list, kSizeColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"d.mp3", "b.mp3", "C.mp3", "a.mp3"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(list.selectionModel()->currentIndex().row(), 1);
}

TEST_F(LibraryPageTest, TagColumnsFillInAfterTheListingAndSortByClick) {
    WriteTaggedSong("one.mp3", 65, "beta", "Blue Hour", "Rain");
    WriteTaggedSong("two.mp3", 9, "Alpha", "Night", "Dark");
    WriteFile("notes.txt", 300);
    ASSERT_TRUE(RefreshUntilRows(3));
    ASSERT_TRUE(WaitUntil([this] {
        const auto artists = ColumnTexts(kArtistColumn);
        return std::count(artists.begin(), artists.end(), "") == 1;
    }));
    QTableView& list = *LibraryList();
    EXPECT_EQ(list.model()->headerData(kArtistColumn, Qt::Horizontal).toString(), "Artist");
    EXPECT_EQ(list.model()->headerData(kBitrateColumn, Qt::Horizontal).toString(), "Bitrate");

    ClickHeader(list, kArtistColumn);
    ClickHeader(list, kArtistColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"two.mp3", "one.mp3", "notes.txt"}));
    EXPECT_EQ(ColumnTexts(kTitleColumn), (std::vector<std::string>{"Night", "Blue Hour", ""}));
    EXPECT_EQ(ColumnTexts(kAlbumColumn), (std::vector<std::string>{"Dark", "Rain", ""}));
    EXPECT_EQ(ColumnTexts(kLengthColumn), (std::vector<std::string>{"0:09", "1:05", ""}));
    EXPECT_EQ(ColumnTexts(kBitrateColumn), (std::vector<std::string>{"32 kbps", "32 kbps", ""}));

    ClickHeader(list, kLengthColumn);
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"one.mp3", "two.mp3", "notes.txt"}));
}

// Typed words hide rows; what stays shown keeps its selection, and commands
// act on shown rows only. The playlist is not the list's business.
TEST_F(LibraryPageTest, TheFilterBoxHidesRowsAndCommandsSeeOnlyTheShownOnes) {
    WriteTaggedSong("one.mp3", 3, "Mira Kestrel", "Blue Hour", "Rain");
    WriteTaggedSong("two.mp3", 2, "Someone", "Kestrel Flight", "Sky");
    WriteTaggedSong("three.mp3", 1, "Nobody", "Night", "Dark");
    ASSERT_TRUE(RefreshUntilRows(3));
    ASSERT_TRUE(WaitUntil([this] {
        const auto artists = ColumnTexts(kArtistColumn);
        return std::count(artists.begin(), artists.end(), "") == 0;
    }));
    SelectNames({"one.mp3", "three.mp3"});
    auto* filter = page->findChild<FilterBox*>(ids::kFilter);
    ASSERT_NE(filter, nullptr);
    QTest::keyClicks(filter, "KESTREL");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"one.mp3", "two.mp3"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"one.mp3"}));

    LibraryList()->selectAll();
    Click(ids::kAddToPlaylist);
    EXPECT_EQ(Playlist()->model()->rowCount(), 2);

    QTest::keyClicks(filter, " rain");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"one.mp3"}));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"one.mp3"}));

    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(ShownNames().size(), 3u);
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"one.mp3"}));
    EXPECT_EQ(Playlist()->model()->rowCount(), 2);
}

// The program swallows Escape in its main window; a filter box with words in
// it still takes it, and an empty one leaves it to the program.
TEST_F(LibraryPageTest, EscapeEmptiesTheFilterBoxUnderTheProgramsKeys) {
    WriteFile("a.mp3", 30);
    WriteFile("b.mp3", 20);
    ASSERT_TRUE(RefreshUntilRows(2));
    KeyFilter keys([](int) {});
    qApp->installEventFilter(&keys);
    auto* filter = page->findChild<FilterBox*>(ids::kFilter);
    QTest::keyClicks(filter, "a.");
    EXPECT_EQ(ShownNames(), (std::vector<std::string>{"a.mp3"}));
    QTest::keyClick(filter, Qt::Key_Escape);
    qApp->removeEventFilter(&keys);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(ShownNames().size(), 2u);
}

TEST_F(LibraryPageTest, DeleteFromTheMenuRemovesTheSelectedFilesButNotThePlayingOne) {
    WriteSong("one.mp3", 4);
    WriteSong("two.mp3", 6);
    WriteSong("three.mp3", 8);
    ASSERT_TRUE(RefreshUntilRows(3));
    SelectNames({"one.mp3"});
    ChooseFromFileMenu(*LibraryList(), 0, 1);  // Play
    ASSERT_TRUE(page->GetPlayer().PlaybackOpen());
    ASSERT_EQ(page->GetPlayer().Title(), "one.mp3");

    SelectNames({"one.mp3", "two.mp3"});
    ChooseFromFileMenu(*LibraryList(), 0, 4);  // Delete
    EXPECT_EQ(removed, std::vector<std::string>{"two.mp3"});
    ASSERT_EQ(prompter.informed.size(), 1u);
    EXPECT_EQ(prompter.informed[0].first,
              "File is currently playing, please stop it, then try again.");
    EXPECT_EQ(prompter.informed[0].second, "File Delete Error");
    ASSERT_TRUE(RefreshUntilRows(2));
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"one.mp3"});

    LibraryList()->clearSelection();
    ChooseFromFileMenu(*LibraryList(), 0, 4);
    ASSERT_EQ(prompter.informed.size(), 2u);
    EXPECT_EQ(prompter.informed[1], std::make_pair(std::string("Please select an mp3 to delete."),
                                                   std::string("Play Error")));
}

TEST_F(LibraryPageTest, LaunchAndExploreOpenTheSelectedFilesAndTheFolder) {
    WriteFile("first.mp3", 200);
    WriteFile("second.mp3", 100);
    ASSERT_TRUE(RefreshUntilRows(2));
    Click(ids::kLaunch);
    EXPECT_EQ(prompter.informed.back().first, "Please select a file to launch.");
    SelectNames({"first.mp3", "second.mp3"});
    Click(ids::kLaunch);
    Click(ids::kExplore);
    EXPECT_EQ(opener.opened,
              (std::vector<std::string>{(downloads / "first.mp3").string(),
                                        (downloads / "second.mp3").string(), downloads.string()}));
    EXPECT_EQ(Button(ids::kLaunch)->toolTip().toStdString(), "Launch Item");
    EXPECT_EQ(Button(ids::kExplore)->Text().toStdString(), "&Explore");
}

TEST_F(LibraryPageTest, ControlsFollowTheWindowSize) {
    page->resize(1000, 560);
    QTableView& list = *LibraryList();
    EXPECT_EQ(list.geometry(), QRect(5, 60, 690, 435));
    EXPECT_EQ(Playlist()->geometry(), QRect(698, 60, 295, 150));
    EXPECT_EQ(Button(ids::kAddToPlaylist)->geometry(), QRect(242, 500, 69, 65));
    EXPECT_EQ(Button(ids::kPlay)->geometry(), QRect(732, 346, 24, 24));
    EXPECT_EQ(Label(ids::kTime)->geometry(), QRect(915, 315, 75, 20));
    EXPECT_EQ(page->findChild<FilterBox*>(ids::kFilter)->geometry(), QRect(5, 32, 260, 24));
    const int client = list.viewport()->width();
    const auto widths = LibraryColumnWidths(client);
    int total = 0;
    for (int column = 0; column < kLibraryColumns; ++column) {
        if (column != kPathColumn) {
            EXPECT_EQ(list.columnWidth(column), widths[static_cast<std::size_t>(column)]);
            total += list.columnWidth(column);
        }
    }
    // The shown columns share the width without a scroll bar.
    EXPECT_LE(total, client);
    EXPECT_GT(total, client - kLibraryColumns);
    EXPECT_GT(widths[kFilenameColumn], widths[kArtistColumn]);

    page->resize(800, 500);
    EXPECT_EQ(list.geometry(), QRect(5, 60, 490, 375));
    EXPECT_EQ(Button(ids::kRepeat)->geometry(), QRect(767, 220, 26, 24));
    EXPECT_EQ(list.columnWidth(kFilenameColumn),
              LibraryColumnWidths(list.viewport()->width())[kFilenameColumn]);
}

// At its least size every control is inside the page: the player's buttons
// once lay under the window's status row in a small window. The three big
// buttons under the list reach 5 px past the page's bottom at every size, as
// the page lays them out, so only that much may be cut.
TEST_F(LibraryPageTest, AtItsLeastSizeEveryControlIsInsideThePage) {
    const QSize least = page->minimumSizeHint();
    page->resize(least);
    ASSERT_EQ(page->size(), least);
    const QRect area = page->rect().adjusted(0, 0, 0, 5);
    const QList<QWidget*> controls = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_GT(controls.size(), 20);
    for (const QWidget* control : controls) {
        if (!control->isHidden()) {
            const std::string name = control->objectName().toStdString();
            EXPECT_TRUE(area.contains(control->geometry())) << name;
            EXPECT_FALSE(control->geometry().isEmpty()) << name;
        }
    }
}

// With the folder quiet, rescans come rarely; the user who comes to the
// page sees the folder as it is now, even one the preferences just moved.
TEST_F(LibraryPageTest, ShowingThePageScansTheFolderAsItIsNow) {
    page.reset();
    const auto folder = std::make_shared<std::filesystem::path>(downloads);
    LibraryPageServices services{[folder] { return *folder; },
                                 tempPlay,
                                 prompter,
                                 opener,
                                 clock,
                                 std::make_unique<NullMediaBackend>(clock)};
    services.rescan =
        RescanTiming{std::chrono::hours(1), std::chrono::hours(2), std::chrono::hours(1), 10};
    page = std::make_unique<LibraryPage>(std::move(services));
    page->resize(1000, 560);
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    page->hide();

    const std::filesystem::path moved = dir.Path() / "Moved";
    std::filesystem::create_directories(moved);
    std::ofstream(moved / "moved.mp3") << "music";
    *folder = moved;
    page->show();
    ASSERT_TRUE(WaitUntil([this] { return LibraryList()->model()->rowCount() == 1; }));
    EXPECT_EQ(ShownNames(), std::vector<std::string>{"moved.mp3"});
}

}  // namespace
}  // namespace korvana::test
