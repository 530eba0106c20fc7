#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "PageTestSupport.h"
#include "controls/CGradientMenu.h"
#include "controls/SearchTabCtrl.h"
#include "search/ui/SearchPageIds.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

using test::HandOver;
using test::MakeCoreResult;

class SearchPageTest : public ::testing::Test {
  protected:
    QLineEdit& Keyword() { return *world_.Find<QLineEdit>("IDC_KEYWORD"); }
    QTableWidget& Filters() { return *world_.Find<QTableWidget>("IDC_FILTER_LIST"); }
    QLineEdit& FilterEditor() { return *world_.Find<QLineEdit>("IDC_FILTER_EDIT"); }
    QString FindStatus() { return world_.Find<QLabel>("IDC_FIND_STATUS")->text(); }
    SearchTabCtrl& Tabs() { return world_.page.Tabs(); }
    QTableView& List() { return world_.page.ResultView(); }

    void TypeFilter(Filter filter, const QString& text) {
        world_.page.EditFilter(static_cast<int>(filter));
        FilterEditor().clear();
        QTest::keyClicks(&FilterEditor(), text);
        QTest::keyClick(&FilterEditor(), Qt::Key_Return);
    }
    int Search(const QString& keyword) {
        Keyword().setText(keyword);
        QTest::keyClick(&Keyword(), Qt::Key_Return);
        return world_.model.DisplayedSearchId();
    }
    void SelectRows(std::initializer_list<int> rows) {
        for (int row : rows) {
            List().selectionModel()->select(
                world_.page.Results().index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QString Name(int row) {
        return world_.page.Results()
            .data(world_.page.Results().index(row, static_cast<int>(ResultColumn::Filename)))
            .toString();
    }

    test::PageWorld world_;
};

TEST_F(SearchPageTest, EnterInTheKeywordStartsASearchEverywhere) {
    const int id = Search(QStringLiteral("blues"));
    EXPECT_EQ(id, 0);
    ASSERT_EQ(world_.core.searches.size(), 1u);
    EXPECT_EQ(world_.core.searches[0].id, 0);
    EXPECT_EQ(world_.core.searches[0].terms.keywords, "blues");
    EXPECT_FALSE(world_.model.IsSearchStopped(0));  // opened and running
    ASSERT_EQ(Tabs().Model().Count(), 1);
    EXPECT_EQ(Tabs().Model().Tab(0).title, "blues");
    EXPECT_EQ(Tabs().SelectedSearchId(), 0);
    EXPECT_FALSE(Tabs().isHidden());
    EXPECT_FALSE(world_.Find<QWidget>("IDC_REMOVE_SEARCH")->isHidden());
    EXPECT_EQ(Search(QStringLiteral("jazz")), 1);
    EXPECT_EQ(Tabs().SelectedSearchId(), 1);
}

TEST_F(SearchPageTest, SearchWhileTheCoreIsDownRunsAndSaysTheCoreIsNotConnected) {
    const auto status = [this] { return world_.Find<QLabel>("IDC_SEARCH_STATUS")->text(); };
    world_.core.connected = false;
    EXPECT_EQ(Search(QStringLiteral("blues")), 0);
    EXPECT_EQ(status(), QStringLiteral("Core not connected"));
    EXPECT_FALSE(world_.model.IsSearchStopped(0));  // opened and running
    EXPECT_EQ(Tabs().Model().Count(), 1);
    // Queued for the core's return.
    EXPECT_EQ(world_.core.searches.size(), 1u);
    world_.core.connected = true;
    Search(QStringLiteral("jazz"));
    EXPECT_EQ(status(), QString());
}

TEST_F(SearchPageTest, OnlyTheTitleFilledIsTheTabTitleAndGoesToTheCoreWithAnEmptyKeyword) {
    TypeFilter(Filter::Title, QStringLiteral("Idle Loop"));
    EXPECT_TRUE(FilterEditor().isHidden());
    EXPECT_EQ(Filters().item(static_cast<int>(Filter::Title), 1)->text(), "Idle Loop");
    // Enter in the editor only wrote the value.
    EXPECT_TRUE(world_.core.searches.empty());
    Search(QStringLiteral("Enter a keyword"));
    ASSERT_EQ(world_.core.searches.size(), 1u);
    EXPECT_EQ(world_.core.searches[0].terms.keywords, "");
    EXPECT_EQ(world_.core.searches[0].terms.title, "Idle Loop");
    EXPECT_EQ(Tabs().Model().Tab(0).title, "Idle Loop");
}

TEST_F(SearchPageTest, NoTermAsksForOneAndKeepsTheListedResults) {
    Search(QStringLiteral("blues"));
    HandOver(world_.model, MakeCoreResult(0, 1, "kept.mp3", 10));
    world_.Settle();
    Search(QStringLiteral("enter a keyword"));
    EXPECT_EQ(world_.prompter.messages,
              std::vector<std::string>{"No search terms: Please enter a search term."});
    EXPECT_EQ(world_.core.searches.size(), 1u);
    EXPECT_EQ(world_.page.Results().rowCount(), 1);
}

TEST_F(SearchPageTest, KeywordLosesThePlaceholderOnFocusAndResetBringsItBack) {
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(&Keyword(), &focus);
    EXPECT_EQ(Keyword().text(), "");
    Keyword().setText(QStringLiteral("mine"));
    QApplication::sendEvent(&Keyword(), &focus);
    EXPECT_EQ(Keyword().text(), "mine");
    TypeFilter(Filter::Artist, QStringLiteral("Someone"));
    world_.page.Reset();
    EXPECT_EQ(Keyword().text(), "Enter a keyword");
    for (const std::string& value : world_.page.Filters()) {
        EXPECT_EQ(value, "");
    }
}

TEST_F(SearchPageTest, FilterListHasItsSixRowsAndEditsOnlyTheSearchColumn) {
    ASSERT_EQ(Filters().rowCount(), 6);
    EXPECT_EQ(Filters().horizontalHeaderItem(0)->text(), "Term");
    EXPECT_EQ(Filters().horizontalHeaderItem(1)->text(), "Search");
    EXPECT_EQ(Filters().item(0, 0)->text(), "Min Size (MB)");
    EXPECT_EQ(Filters().item(5, 0)->text(), "MP3 Album");
    world_.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world_.page));
    const QRect term = Filters().visualRect(Filters().model()->index(0, 0));
    QTest::mouseClick(Filters().viewport(), Qt::LeftButton, {}, term.center());
    EXPECT_TRUE(FilterEditor().isHidden());
    const QRect value = Filters().visualRect(Filters().model()->index(0, 1));
    QTest::mouseClick(Filters().viewport(), Qt::LeftButton, {}, value.center());
    EXPECT_FALSE(FilterEditor().isHidden());
    EXPECT_TRUE(FilterEditor().geometry().contains(
        Filters().viewport()->mapTo(&world_.page, value.center())));
}

TEST_F(SearchPageTest, DownloadSelectedSendsCoreRowsToTheCoreAndStartsWebRows) {
    world_.page.DownloadSelected();
    EXPECT_EQ(world_.prompter.messages,
              std::vector<std::string>{"Download Error: Please select something to download."});
    Search(QStringLiteral("song"));
    HandOver(world_.model, MakeCoreResult(0, 0, "core zero.mp3", 10));
    HandOver(world_.model, MakeCoreResult(0, 8, "already.mp3", 10));
    world_.model.AddWebResult(0, "http://127.0.0.1/w.mp3", "web.mp3", WebEngineId::Engine1);
    world_.model.AddWebResult(0, "http://127.0.0.1/got.mp3", "got.mp3", WebEngineId::Engine3);
    world_.Settle();
    world_.downloads.coreNames = {"already.mp3"};
    world_.downloads.webKeys = {"http://127.0.0.1/got.mp3"};
    ASSERT_EQ(world_.page.Results().rowCount(), 4);
    SelectRows({0, 1, 2, 3});
    world_.page.DownloadSelected();
    // A core result id of 0 is still a core result.
    EXPECT_EQ(world_.core.log, (std::vector<std::string>{"search 0", "download core zero.mp3 0"}));
    EXPECT_EQ(world_.downloads.started,
              std::vector<std::string>{"http://127.0.0.1/w.mp3 -> web.mp3"});
    EXPECT_EQ(
        world_.downloads.asked,
        (std::vector<std::string>{"web http://127.0.0.1/got.mp3", "web http://127.0.0.1/w.mp3",
                                  "core already.mp3", "core core zero.mp3"}));
}

TEST_F(SearchPageTest, FindSelectsMatchesWrapsAndReportsMisses) {
    Search(QStringLiteral("x"));
    std::int32_t id = 0;
    for (const char* name : {"one.mp3", "Two.mp3", "three.mp3", "TWO again.mp3"}) {
        HandOver(world_.model, MakeCoreResult(0, ++id, name, 1));
    }
    world_.Settle();
    // Unsorted: the newest row is on top.
    ASSERT_EQ(Name(0), "TWO again.mp3");
    auto* find = world_.Find<QLineEdit>("IDC_FIND_TEXT");
    find->setText(QStringLiteral("two"));
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(world_.page.FindPosition(), 0);
    world_.page.Find();
    EXPECT_EQ(world_.page.FindPosition(), 2);
    EXPECT_EQ(FindStatus(), "");
    const QModelIndexList selected = List().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].row(), 2);
    world_.page.Find();
    EXPECT_EQ(world_.page.FindPosition(), 0);
    EXPECT_EQ(FindStatus(), "   Search        wrapped");
    find->setText(QString());
    world_.page.Find();
    EXPECT_EQ(world_.page.FindPosition(), 1);
    find->setText(QStringLiteral("nowhere"));
    world_.page.Find();
    EXPECT_EQ(FindStatus(), "   Term(s)       not found");
    EXPECT_TRUE(List().selectionModel()->selectedRows().isEmpty());
}

TEST_F(SearchPageTest, TabLabelsCountCoreResultsAndSizedWebResults) {
    Search(QStringLiteral("blues"));
    Search(QStringLiteral("jazz"));
    for (int i = 0; i < 3; ++i) {
        HandOver(world_.model, MakeCoreResult(0, i, "b", 1));
    }
    HandOver(world_.model, MakeCoreResult(1, 9, "j", 1));
    world_.model.AddWebResult(1, "http://127.0.0.1/j.mp3", "j.mp3", WebEngineId::Engine1);
    world_.probes->headers["http://127.0.0.1/j.mp3"] = test::OkHeader(100);
    world_.ProbeAll();
    world_.Settle();
    EXPECT_EQ(Tabs().Model().Tab(0).title, "blues (3)");
    EXPECT_EQ(Tabs().Model().Tab(1).title, "jazz (2)");
    EXPECT_EQ(world_.page.Results().rowCount(), 2);
}

TEST_F(SearchPageTest, StopRemoveAndClearCloseTheirSearches) {
    Search(QStringLiteral("a"));
    Search(QStringLiteral("b"));
    Search(QStringLiteral("c"));
    world_.page.OnMenuCommand(ID_STOP_SEARCH);
    EXPECT_TRUE(world_.model.IsSearchStopped(2));
    world_.page.RemoveSearch();
    EXPECT_EQ(Tabs().Model().Count(), 2);
    EXPECT_EQ(Tabs().SelectedSearchId(), 1);
    EXPECT_EQ(world_.model.DisplayedSearchId(), 1);
    HandOver(world_.model, MakeCoreResult(0, 1, "late", 1));
    world_.page.OnMenuCommand(ID_CLEAR_ALL_SEARCHES);
    world_.Settle();
    EXPECT_EQ(world_.core.log,
              (std::vector<std::string>{"search 0", "search 1", "search 2", "close 2", "close 2",
                                        "close 1", "close 0"}));
    EXPECT_EQ(Tabs().Model().Count(), 0);
    EXPECT_TRUE(Tabs().isHidden());
    EXPECT_TRUE(world_.Find<QWidget>("IDC_REMOVE_SEARCH")->isHidden());
    EXPECT_EQ(world_.model.DisplayedSearchId(), -1);
    HandOver(world_.model, MakeCoreResult(1, 2, "after", 1));
    world_.Settle();
    EXPECT_EQ(world_.page.Results().rowCount(), 0);
}

TEST_F(SearchPageTest, RemovingTheOnlySearchHidesTheStripAndEmptiesTheList) {
    Search(QStringLiteral("only"));
    HandOver(world_.model, MakeCoreResult(0, 1, "row", 1));
    world_.Settle();
    ASSERT_EQ(world_.page.Results().rowCount(), 1);
    world_.page.RemoveSearch();
    EXPECT_TRUE(Tabs().isHidden());
    EXPECT_EQ(world_.page.Results().rowCount(), 0);
    EXPECT_EQ(world_.core.log, (std::vector<std::string>{"search 0", "close 0"}));
}

TEST_F(SearchPageTest, HeaderClicksSortAndRightClicksOpenTheMenus) {
    world_.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world_.page));
    Search(QStringLiteral("x"));
    for (std::int64_t size : {20, 30, 10}) {
        HandOver(world_.model,
                 MakeCoreResult(0, static_cast<std::int32_t>(size), std::to_string(size), size));
    }
    world_.Settle();
    QHeaderView* header = List().horizontalHeader();
    const int size = static_cast<int>(ResultColumn::Size);
    const QPoint sizeHeader(header->sectionViewportPosition(size) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeader);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sizeHeader);
    EXPECT_EQ(world_.model.Ordering(), (RowOrdering{ResultColumn::Size, true}));
    EXPECT_EQ(Name(0), "10");
    EXPECT_EQ(Name(2), "30");

    auto* results = world_.page.findChild<CGradientMenu*>(QString(), Qt::FindDirectChildrenOnly);
    EXPECT_EQ(results, nullptr);
    const QRect row = List().visualRect(world_.page.Results().index(0, 1));
    emit List().customContextMenuRequested(row.center());
    EXPECT_TRUE(test::WaitUntil([] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "IDR_RESULTS_MENU" && widget->isVisible()) {
                return true;
            }
        }
        return false;
    }));
    world_.page.OnMenuCommand(ID_FIND);
    EXPECT_TRUE(world_.Find<QLineEdit>("IDC_FIND_TEXT")->hasFocus() ||
                QApplication::focusWidget() == world_.Find<QLineEdit>("IDC_FIND_TEXT"));
}

TEST_F(SearchPageTest, ControlsFollowTheLayoutAndTheLinkColumnIsHidden) {
    world_.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world_.page));
    EXPECT_EQ(Keyword().geometry(), QRect(5, 25, 200, 30));
    EXPECT_EQ(List().geometry(), QRect(5, 195, 990, 457));  // below all six filter rows
    EXPECT_EQ(world_.Find<QWidget>("IDC_DOWNLOAD_SELECTED")->geometry(), QRect(5, 656, 150, 40));
    EXPECT_TRUE(List().isColumnHidden(static_cast<int>(ResultColumn::Link)));
    EXPECT_EQ(List().columnWidth(0), 75);
    EXPECT_TRUE(world_.Find<QWidget>("IDC_STOP_SEARCH")->isHidden());
    EXPECT_TRUE(Tabs().isHidden());
    EXPECT_EQ(Filters().columnWidth(0), 125);
}

TEST_F(SearchPageTest, SizeFiltersGoOutAsBytesAndANonNumberIsRefused) {
    TypeFilter(Filter::MinSize, QStringLiteral("3"));
    TypeFilter(Filter::MaxSize, QStringLiteral("10"));
    Search(QStringLiteral("blues"));
    ASSERT_EQ(world_.core.searches.size(), 1u);
    EXPECT_EQ(world_.core.searches[0].terms.minSize, "3145728");
    EXPECT_EQ(world_.core.searches[0].terms.maxSize, "10485760");

    TypeFilter(Filter::MaxSize, QStringLiteral("ten"));
    Search(QStringLiteral("jazz"));
    EXPECT_EQ(world_.core.searches.size(), 1u);
    EXPECT_EQ(Tabs().Model().Count(), 1);
    ASSERT_EQ(world_.prompter.messages.size(), 1u);
    EXPECT_NE(world_.prompter.messages[0].find("\"Max Size (MB)\" must be a number"),
              std::string::npos);
}

TEST_F(SearchPageTest, ASearchTextWithBracketsKeepsThemBesideTheCount) {
    const int id = Search(QStringLiteral("live (1999) set"));
    Tabs().SetResultCount(id, 3);
    EXPECT_EQ(Tabs().Model().Tab(0).title, "live (1999) set (3)");
}

TEST_F(SearchPageTest, TheFilterListShowsAllSixRowsAndTabLeavesIt) {
    world_.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world_.page));
    QTableWidget& filters = Filters();
    const QRect viewport = filters.viewport()->rect();
    for (int row = 0; row < filters.rowCount(); ++row) {
        const QRect cell = filters.visualRect(filters.model()->index(row, 1));
        EXPECT_TRUE(viewport.contains(cell)) << row;
    }
    EXPECT_FALSE(filters.verticalScrollBar()->isVisible());

    filters.setFocus();
    QTest::keyClick(&filters, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), &filters);
}

TEST_F(SearchPageTest, CtrlTabStepsThroughTheSearchesAndShowsEach) {
    world_.page.show();
    world_.page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&world_.page));
    Search(QStringLiteral("one"));
    Search(QStringLiteral("two"));
    Search(QStringLiteral("three"));
    ASSERT_EQ(Tabs().SelectedSearchId(), 2);
    Keyword().setFocus();
    QTest::keyClick(&Keyword(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Tabs().SelectedSearchId(), 0);  // round the end
    EXPECT_EQ(world_.model.DisplayedSearchId(), 0);
    QTest::keyClick(&Keyword(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Tabs().SelectedSearchId(), 2);
    EXPECT_EQ(world_.model.DisplayedSearchId(), 2);
}

}  // namespace
}  // namespace korvana
