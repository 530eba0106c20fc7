#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTest>
#include <algorithm>

#include "PageTestSupport.h"
#include "controls/FilterBox.h"
#include "controls/SearchTabCtrl.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::HandOver;
using test::MakeCoreResult;

class SearchPageAdditionsTest : public ::testing::Test {
  protected:
    SearchPageAdditionsTest()
        : tester_(&world_.page.Results(), QAbstractItemModelTester::FailureReportingMode::Fatal) {}

    int Search(const QString& keyword) {
        auto& box = *world_.Find<QLineEdit>("IDC_KEYWORD");
        box.setText(keyword);
        QTest::keyClick(&box, Qt::Key_Return);
        return world_.model.DisplayedSearchId();
    }
    // A search whose engines have all ended, with these core results.
    int SearchWith(const std::vector<std::string>& names) {
        const int id = Search(QStringLiteral("song"));
        EXPECT_TRUE(world_.session.Web().WaitUntilIdle(10s));
        for (std::size_t i = 0; i < names.size(); ++i) {
            HandOver(world_.model,
                     MakeCoreResult(id, static_cast<std::int32_t>(i + 1), names[i], 100));
        }
        world_.Settle();
        return id;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const ListedRow& row : world_.page.Results().Rows()) {
            names.emplace_back(row.result->Name());
        }
        return names;
    }
    int RowNamed(const std::string& name) {
        const std::vector<std::string> names = Names();
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? -1 : static_cast<int>(at - names.begin());
    }
    void Select(const std::string& name) {
        world_.page.ResultView().selectionModel()->select(
            world_.page.Results().index(RowNamed(name), 0),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<std::string> SelectedNames() {
        std::vector<std::string> names;
        for (const QModelIndex& index : world_.page.ResultView().selectionModel()->selectedRows()) {
            names.emplace_back(world_.page.Results().RowAt(index.row()).result->Name());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    QVariant Status(const std::string& name, int role) {
        return world_.page.Results().data(world_.page.Results().index(RowNamed(name), 0), role);
    }
    // The progress line as read, whatever spaces hold its pieces together.
    QString Line() {
        return world_.page.ProgressLine().text().replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    }
    QString TabTitle(int index) {
        return QString::fromStdString(world_.page.Tabs().Model().Tab(index).title);
    }

    test::PageWorld world_;
    QAbstractItemModelTester tester_;
};

TEST_F(SearchPageAdditionsTest, TypingInTheFilterBoxHidesRowsAndKeepsTheSelection) {
    SearchWith({"Blue Train.mp3", "Blue Monk.mp3", "Red Clay.mp3"});
    Select("Blue Monk.mp3");
    Select("Red Clay.mp3");
    QTest::keyClicks(&world_.page.ResultFilter(), "blue mo");
    EXPECT_EQ(Names(), std::vector<std::string>{"Blue Monk.mp3"});
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"Blue Monk.mp3"});
    QTest::keyClick(&world_.page.ResultFilter(), Qt::Key_Escape);
    EXPECT_EQ(Names().size(), 3u);
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"Blue Monk.mp3"});
}

TEST_F(SearchPageAdditionsTest, ResultsArrivingWhileFilteredShowOnlyWhenTheyMatch) {
    const int id = SearchWith({"Blue Train.mp3"});
    QTest::keyClicks(&world_.page.ResultFilter(), "blue");
    HandOver(world_.model, MakeCoreResult(id, 10, "Blue Moon.mp3", 5));
    HandOver(world_.model, MakeCoreResult(id, 11, "Green Onions.mp3", 5));
    world_.Settle();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Blue Moon.mp3", "Blue Train.mp3"}));
    // The tab counts every result, shown or hidden.
    EXPECT_EQ(TabTitle(0), QStringLiteral("song (3)"));
}

TEST_F(SearchPageAdditionsTest, FindNextLooksOnlyAmongTheRowsShown) {
    SearchWith({"take one.mp3", "take two.mp3", "other take.mp3"});
    QTest::keyClicks(&world_.page.ResultFilter(), "two");
    world_.Find<QLineEdit>("IDC_FIND_TEXT")->setText(QStringLiteral("take"));
    world_.page.Find();
    EXPECT_EQ(world_.page.FindPosition(), 0);
    EXPECT_EQ(SelectedNames(), std::vector<std::string>{"take two.mp3"});
}

TEST_F(SearchPageAdditionsTest, ASearchWithNothingFoundSaysNoResultsAndItsTabCountsZero) {
    const int id = Search(QStringLiteral("nothing"));
    // An engine still at work: the list waits for it.
    world_.session.EngineTaskStarted(id, "Slow Engine");
    ASSERT_TRUE(world_.session.Web().WaitUntilIdle(10s));
    world_.Settle();
    EXPECT_EQ(world_.page.EmptyListNote().text(), QStringLiteral("Searching..."));
    EXPECT_FALSE(world_.page.EmptyListNote().isHidden());
    EXPECT_TRUE(Line().contains(QStringLiteral("Slow Engine: running")));

    world_.session.EngineTaskEnded(id, "Slow Engine", {0, "no page could be fetched"});
    world_.Settle();
    EXPECT_EQ(world_.page.EmptyListNote().text(), QStringLiteral("No results"));
    EXPECT_EQ(TabTitle(0), QStringLiteral("nothing (0)"));
    const QString line = Line();
    EXPECT_TRUE(line.contains(QStringLiteral("Core: searching, 0 results"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("Engine 1: done, 0 found"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("Slow Engine: failed (no page could be fetched)")))
        << line.toStdString();

    HandOver(world_.model, MakeCoreResult(id, 1, "late.mp3", 5));
    world_.Settle();
    EXPECT_TRUE(world_.page.EmptyListNote().isHidden());
    EXPECT_EQ(TabTitle(0), QStringLiteral("nothing (1)"));
    EXPECT_TRUE(Line().contains(QStringLiteral("Core: searching, 1 result")));
}

TEST_F(SearchPageAdditionsTest, TheCorePartFollowsTheCoreLink) {
    world_.core.connected = false;
    Search(QStringLiteral("song"));
    EXPECT_TRUE(Line().contains(QStringLiteral("Core: not connected"))) << Line().toStdString();
    world_.core.connected = true;
    world_.page.CoreLinkChanged();
    EXPECT_TRUE(Line().contains(QStringLiteral("Core: searching, 0 results")))
        << Line().toStdString();
    world_.page.StopSearch();
    EXPECT_TRUE(Line().contains(QStringLiteral("Core: stopped, 0 results")))
        << Line().toStdString();
}

TEST_F(SearchPageAdditionsTest, AFilterHidingEveryRowSaysSo) {
    SearchWith({"a.mp3"});
    QTest::keyClicks(&world_.page.ResultFilter(), "zzz");
    EXPECT_EQ(world_.page.EmptyListNote().text(), QStringLiteral("No results match the filter"));
    EXPECT_FALSE(world_.page.EmptyListNote().isHidden());
}

TEST_F(SearchPageAdditionsTest, ResultsTheProgramAlreadyHasAreMarked) {
    SearchWith({"have.mp3", "getting.mp3", "new.mp3"});
    const QVariant plain = Status("have.mp3", Qt::DecorationRole);
    world_.page.SetLibraryNames({"HAVE.mp3"});
    world_.page.SetTransferNames({"getting.mp3"});
    EXPECT_EQ(Status("have.mp3", Qt::ToolTipRole).toString(),
              QStringLiteral("Already in your Library"));
    EXPECT_EQ(Status("getting.mp3", Qt::ToolTipRole).toString(),
              QStringLiteral("Already in the transfer list"));
    EXPECT_FALSE(Status("new.mp3", Qt::ToolTipRole).isValid());
    const auto image = [](const QVariant& v) { return v.value<QPixmap>().toImage(); };
    EXPECT_NE(image(Status("have.mp3", Qt::DecorationRole)), image(plain));
    EXPECT_NE(image(Status("getting.mp3", Qt::DecorationRole)), image(plain));
    EXPECT_EQ(image(Status("new.mp3", Qt::DecorationRole)), image(plain));
    world_.page.SetLibraryNames({});
    EXPECT_EQ(image(Status("have.mp3", Qt::DecorationRole)), image(plain));
}

TEST_F(SearchPageAdditionsTest, DownloadingAFileTheLibraryHasAsksFirst) {
    SearchWith({"have.mp3", "new.mp3"});
    world_.page.SetLibraryNames({"have.mp3"});
    Select("have.mp3");
    Select("new.mp3");
    world_.page.DownloadSelected();
    ASSERT_EQ(world_.prompter.questions.size(), 1u);
    EXPECT_EQ(world_.prompter.questions[0],
              "Already in your Library: \"have.mp3\" is already in your Library. Download it "
              "again?");
    const auto downloads = [this] {
        std::vector<std::string> sent;
        for (const std::string& line : world_.core.log) {
            if (line.starts_with("download ")) {
                sent.push_back(line);
            }
        }
        return sent;
    };
    EXPECT_EQ(downloads(), std::vector<std::string>{"download new.mp3 2"});
    world_.prompter.answer = true;
    world_.page.DownloadSelected();
    EXPECT_EQ(world_.prompter.questions.size(), 2u);
    EXPECT_EQ(downloads(), (std::vector<std::string>{"download new.mp3 2", "download new.mp3 2",
                                                     "download have.mp3 1"}));
}

// A yes would start nothing: the transfer list never takes a result's own
// download twice. So the user is told instead of asked.
TEST_F(SearchPageAdditionsTest, AResultWhoseOwnDownloadIsListedIsToldOfNotAskedAbout) {
    SearchWith({"have.mp3"});
    world_.page.SetLibraryNames({"have.mp3"});
    world_.page.SetTransferNames({"have.mp3"});
    world_.downloads.coreNames = {"have.mp3"};
    Select("have.mp3");
    world_.prompter.answer = true;
    world_.page.DownloadSelected();
    EXPECT_TRUE(world_.prompter.questions.empty());
    EXPECT_EQ(world_.prompter.messages,
              std::vector<std::string>{
                  "Already in the transfer list: \"have.mp3\" is already in the transfer list, so "
                  "it was not started again.\nTo download again, first take the finished download "
                  "off the Transfers page (Clear Download)."});
    EXPECT_FALSE(
        std::any_of(world_.core.log.begin(), world_.core.log.end(),
                    [](const std::string& line) { return line.starts_with("download "); }));
}

TEST_F(SearchPageAdditionsTest, DownloadingAFileTheTransferListGetsFromElsewhereAsksFirst) {
    const int id = SearchWith({"getting.mp3"});
    world_.model.AddKnownWebResult(id, {"http://127.0.0.1/same", "getting.mp3", 100, ""},
                                   WebEngineId::Archive);
    world_.model.AddKnownWebResult(id, {"http://127.0.0.1/other", "getting.mp3", 100, ""},
                                   WebEngineId::Archive);
    world_.model.AddKnownWebResult(id, {"http://127.0.0.1/more", "MORE.mp3", 100, ""},
                                   WebEngineId::Archive);
    world_.Settle();
    world_.page.SetTransferNames({"getting.mp3", "more.mp3"});
    // The core result's and the first link's own downloads are listed.
    world_.downloads.coreNames = {"getting.mp3"};
    world_.downloads.webKeys = {"http://127.0.0.1/same"};
    world_.page.ResultView().selectAll();
    world_.page.DownloadSelected();
    ASSERT_EQ(world_.prompter.questions.size(), 1u);
    EXPECT_TRUE(world_.prompter.questions[0].starts_with(
        "Already in the transfer list: 2 of the selected files are already in the transfer "
        "list:"))
        << world_.prompter.questions[0];
    EXPECT_TRUE(world_.downloads.started.empty());
    ASSERT_EQ(world_.prompter.messages.size(), 1u);
    EXPECT_TRUE(world_.prompter.messages[0].starts_with(
        "Already in the transfer list: 2 of the selected files are already in the transfer list, "
        "so they were not started again:"))
        << world_.prompter.messages[0];
    world_.prompter.answer = true;
    world_.page.DownloadSelected();
    EXPECT_EQ(world_.prompter.questions.size(), 2u);
    std::vector<std::string> started = world_.downloads.started;
    std::sort(started.begin(), started.end());
    EXPECT_EQ(started, (std::vector<std::string>{"http://127.0.0.1/more -> MORE.mp3",
                                                 "http://127.0.0.1/other -> getting.mp3"}));
}

}  // namespace
}  // namespace korvana
