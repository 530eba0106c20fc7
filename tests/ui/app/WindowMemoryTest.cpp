#include <gtest/gtest.h>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "app/MainLayout.h"
#include "app/ui/MainWindow.h"
#include "controls/ListMemory.h"
#include "platform/CoreProcess.h"
#include "tests/support/FakeClock.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

class StoppedCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override { return false; }
    void LaunchCore() override {}
};

// A page with one list, as the real pages have, that counts the clicks on
// its header the way a page sorts on them.
struct ListPage {
    ListPage() : page(new QWidget), view(new QTableView(page)) {
        view->setObjectName(QStringLiteral("IDC_SOME_LIST"));
        model.setColumnCount(3);
        view->setModel(&model);
        QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked,
                         [this](int section) { clicks.push_back(section); });
    }
    QStandardItemModel model;
    QWidget* page;
    QTableView* view;
    std::vector<int> clicks;
};

// Two runs of the program: the window of each is built on the same settings.
struct Runs {
    test::TempDir dir;
    Folders folders{dir.Path(), dir.Path() / "Downloads", dir.Path() / "Incomplete",
                    dir.Path() / "TempPlay", dir.Path() / "mldonkey"};
    test::FakeClock clock;
    StoppedCore core;
    test::RecordingPrompter prompter;
    test::RecordingOpener opener;
    test::MemorySettings settings;

    std::unique_ptr<MainWindow> Open(ListPage& list) {
        MainWindowServices services{folders, clock, core, prompter, opener};
        services.settings = &settings;
        MainWindowPages pages;
        pages.search = list.page;
        return std::make_unique<MainWindow>(std::move(services), pages);
    }
};

TEST(WindowMemory, TheWindowComesBackWhereItWasAndAsLarge) {
    Runs runs;
    {
        ListPage list;
        auto window = runs.Open(list);
        window->ShowAsLastTime();  // the first run opens maximized
        window->showNormal();
        window->setGeometry(60, 50, 900, 650);
        QApplication::processEvents();
        window->StartCloseSequence();
    }
    ASSERT_TRUE(runs.settings.values.contains(kWindowGeometryKey));
    ListPage list;
    auto window = runs.Open(list);
    window->ShowAsLastTime();
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->size(), QSize(900, 650));
}

TEST(WindowMemory, TheWindowOpensOnThePageItLastShowed) {
    Runs runs;
    {
        ListPage list;
        auto window = runs.Open(list);
        window->ShowAsLastTime();
        EXPECT_EQ(window->VisiblePage(), 0);
        window->ShowPage(2);
        window->StartCloseSequence();
    }
    {
        ListPage list;
        auto window = runs.Open(list);
        window->ShowAsLastTime();
        EXPECT_EQ(window->VisiblePage(), 2);
    }
    // A value the program never writes opens on Search.
    runs.settings.values[kLastPageKey] = "7";
    ListPage list;
    auto window = runs.Open(list);
    window->ShowAsLastTime();
    EXPECT_EQ(window->VisiblePage(), 0);
}

TEST(WindowMemory, ListsKeepTheirWidthsAndSortAcrossRuns) {
    Runs runs;
    {
        ListPage list;
        auto window = runs.Open(list);
        window->show();
        QHeaderView* header = list.view->horizontalHeader();
        // A width the user drags is kept; one the page sets is not.
        header->resizeSection(0, 40);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        header->resizeSection(1, 222);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
        emit header->sectionClicked(2);
        emit header->sectionClicked(1);
        emit header->sectionClicked(1);
    }
    ListPage list;
    auto window = runs.Open(list);
    EXPECT_EQ(list.view->horizontalHeader()->sectionSize(1), 222);
    EXPECT_TRUE(list.view->property(kWidthsChosenProperty).toBool());
    // Sorted by column 1, clicked twice: the page is asked the same way.
    EXPECT_EQ(list.clicks, (std::vector<int>{1, 1}));
}

TEST(WindowMemory, AStoredSortIsReadOnlyInItsOwnForm) {
    EXPECT_EQ(ParseStoredSort("3:1").section, 3);
    EXPECT_EQ(ParseStoredSort("12:2").clicks, 2);
    for (const char* text : {"", ":1", "3:", "3:0", "3:3", "a:1", "3:1x", "1234:1", "-1:1"}) {
        EXPECT_EQ(ParseStoredSort(text).section, -1) << text;
    }
}

TEST(WindowMemory, TheWindowCannotBeMadeSmallerThanItsPagesNeed) {
    Runs runs;
    ListPage list;
    list.page->setMinimumSize(900, 420);
    auto window = runs.Open(list);
    window->resize(300, 200);
    window->show();
    QApplication::processEvents();
    QWidget* client = window->findChild<QWidget*>(QStringLiteral("IDC_CLIENT"));
    const MainLayout layout = ComputeMainLayout(client->width(), client->height());
    EXPECT_GE(layout.pageHost.width, 900);
    EXPECT_GE(layout.pageHost.height, 420);
    EXPECT_GE(layout.leftFiller.width, 0);
}

}  // namespace
}  // namespace korvana
