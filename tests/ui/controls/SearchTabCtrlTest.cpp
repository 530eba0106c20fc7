#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "controls/QtBridge.h"
#include "controls/SearchTabCtrl.h"
#include "controls/SearchViewer.h"
#include "core/StatusLog.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

class RecordingViewer : public SearchViewer {
  public:
    std::vector<int> shown;
    void ShowSearch(int searchId) override { shown.push_back(searchId); }
};

class SearchTabCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(500, 80);
        strip = new SearchTabCtrl(&viewer, &log, &window);
        strip->AddTab("madonna", -1, 10);
        strip->AddTab("queen", -1, 11);
        strip->AddTab("abba", -1, 12);
        strip->setGeometry(0, 0, 500, strip->sizeHint().height());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void Click(int tab) {
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->TabRect(tab).center());
    }

    QWidget window;
    RecordingViewer viewer;
    StatusLog log;
    SearchTabCtrl* strip = nullptr;
};

TEST_F(SearchTabCtrlTest, OnlyTheUsersClickShowsASearch) {
    EXPECT_EQ(strip->SelectedSearchId(), 12);
    EXPECT_TRUE(strip->SelectTab(0));
    EXPECT_TRUE(viewer.shown.empty());
    Click(1);
    EXPECT_EQ(viewer.shown, (std::vector<int>{11}));
    EXPECT_EQ(strip->Model().PreviousSelection(), 0);
    Click(1);
    EXPECT_EQ(viewer.shown.size(), 1u);
    strip->SetTabEnabled(2, false);
    Click(2);
    EXPECT_EQ(strip->SelectedSearchId(), 11);
    EXPECT_EQ(viewer.shown.size(), 1u);
    strip->RemoveSelectedTab();
    EXPECT_EQ(strip->SelectedSearchId(), 10);
    EXPECT_EQ(viewer.shown.size(), 1u);
}

TEST_F(SearchTabCtrlTest, CountsGoIntoTheTitlesAndWidenTheTabs) {
    const int before = strip->TabRect(1).width();
    strip->SetResultCount(11, 12);
    strip->SetResultCount(11, 15);
    strip->SetResultCount(99, 1);
    EXPECT_EQ(strip->Model().Tab(1).title, "queen (15)");
    EXPECT_GT(strip->TabRect(1).width(), before);
    EXPECT_EQ(strip->TabRect(2).left(), strip->TabRect(1).right() + 1);
}

TEST_F(SearchTabCtrlTest, ATabTellsItsToolTipWhereTheMouseRests) {
    strip->SetTabToolTip(11, "Donkey 12, Web 3");
    QHelpEvent onTab(QEvent::ToolTip, strip->TabRect(1).center(),
                     strip->mapToGlobal(strip->TabRect(1).center()));
    QApplication::sendEvent(strip, &onTab);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Donkey 12, Web 3"));
    QHelpEvent onOther(QEvent::ToolTip, strip->TabRect(0).center(),
                       strip->mapToGlobal(strip->TabRect(0).center()));
    QApplication::sendEvent(strip, &onOther);
    EXPECT_TRUE(test::WaitUntil([] { return !QToolTip::isVisible(); }));
}

TEST_F(SearchTabCtrlTest, HoverFollowsTheCursorAndTheTimerNoticesItLeaving) {
    strip->SetSelectedTextColour(QColor(0, 0, 255));
    QTest::mouseMove(strip, strip->TabRect(1).center());
    EXPECT_FALSE(strip->HoverTimerActive());  // no hover colour yet
    EXPECT_EQ(strip->TitleColour(1), strip->palette().color(QPalette::ButtonText));

    strip->SetHoverColour(QColor(200, 0, 0));
    QTest::mouseMove(strip, strip->TabRect(0).center());
    EXPECT_TRUE(strip->HoverTimerActive());
    EXPECT_EQ(strip->HoveredTab(), 0);
    EXPECT_EQ(strip->TitleColour(0), QColor(200, 0, 0));
    EXPECT_EQ(strip->TitleColour(2), QColor(0, 0, 255));

    QTest::mouseMove(&window, QPoint(250, 75));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !strip->HoverTimerActive(); }, 2000));
    EXPECT_EQ(strip->HoveredTab(), -1);
    EXPECT_EQ(strip->TitleColour(0), strip->palette().color(QPalette::ButtonText));
}

TEST_F(SearchTabCtrlTest, SelectedTitleIsDrawnInItsColour) {
    strip->SetSelectedTextColour(QColor(0, 0, 255));
    strip->SetDisabledTextColour(QColor(255, 0, 0));
    strip->SetTabEnabled(0, false);
    const QImage image = test::Render(*strip);
    auto count = [&](int tab, auto test) {
        int n = 0;
        const QRect r = strip->TabRect(tab);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                n += test(image.pixelColor(x, y)) ? 1 : 0;
            }
        }
        return n;
    };
    auto blue = [](const QColor& c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; };
    auto red = [](const QColor& c) { return c.red() > 200 && c.blue() < 90 && c.green() < 90; };
    EXPECT_GT(count(2, blue), 5);
    EXPECT_EQ(count(1, blue), 0);
    EXPECT_GT(count(0, red), 5);
    const QRect tab = strip->TabRect(1);
    EXPECT_EQ(image.pixelColor(tab.left() + 3, tab.bottom() - 2),
              strip->palette().color(QPalette::Button));
}

TEST_F(SearchTabCtrlTest, RemovingAllTabsLeavesNoSelection) {
    strip->RemoveAllTabs();
    EXPECT_EQ(strip->SelectedSearchId(), -1);
    EXPECT_EQ(strip->Model().Count(), 0);
    EXPECT_TRUE(strip->TabRect(0).isNull());
}

// Twelve searches in a strip that has room for about five of them.
class CrowdedStripTest : public SearchTabCtrlTest {
  protected:
    void SetUp() override {
        SearchTabCtrlTest::SetUp();
        strip->RemoveAllTabs();
        for (int id = 0; id < 12; ++id) {
            strip->AddTab("search " + std::to_string(id), -1, id);
        }
        strip->setGeometry(0, 0, 5 * strip->TabRect(0).width() + 60, strip->height());
        QApplication::processEvents();
    }

    bool WhollyShown(int tab) const {
        const QRect room(0, 0, strip->ScrollLeftRect().left(), strip->height());
        return room.contains(strip->TabRect(tab));
    }
};

TEST_F(CrowdedStripTest, TheSelectedTabIsScrolledIntoView) {
    ASSERT_TRUE(strip->ScrollArrowsShown());
    EXPECT_EQ(strip->SelectedSearchId(), 11);
    EXPECT_TRUE(WhollyShown(11));
    EXPECT_FALSE(WhollyShown(0));
    strip->SelectTab(2);
    EXPECT_TRUE(WhollyShown(2));
}

TEST_F(CrowdedStripTest, TheArrowsReachEveryTab) {
    strip->SelectTab(11);
    for (int i = 0; i < 20; ++i) {
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->ScrollLeftRect().center());
    }
    EXPECT_EQ(strip->FirstShownTab(), 0);
    EXPECT_TRUE(WhollyShown(0));
    int reached = 0;
    for (int i = 0; i < 20; ++i) {
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->ScrollRightRect().center());
        for (int tab = 0; tab < 12; ++tab) {
            reached = WhollyShown(tab) ? std::max(reached, tab) : reached;
        }
    }
    EXPECT_EQ(reached, 11);
    EXPECT_TRUE(viewer.shown.empty());  // scrolling shows no search
}

TEST_F(CrowdedStripTest, LeftAndRightMoveTheSelectionWhenTheStripHasFocus) {
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_Right);  // already the last: stays
    EXPECT_EQ(strip->SelectedSearchId(), 11);
    QTest::keyClick(strip, Qt::Key_Left);
    QTest::keyClick(strip, Qt::Key_Left);
    EXPECT_EQ(strip->SelectedSearchId(), 9);
    EXPECT_EQ(viewer.shown, (std::vector<int>{10, 9}));
    strip->SelectTab(0);
    EXPECT_TRUE(WhollyShown(0));
    QTest::keyClick(strip, Qt::Key_Left);
    EXPECT_EQ(strip->SelectedSearchId(), 0);
    strip->StepSelection(-1, true);
    EXPECT_EQ(strip->SelectedSearchId(), 11);
    EXPECT_TRUE(WhollyShown(11));
}

TEST_F(SearchTabCtrlTest, TabsThatFitHaveNoArrows) {
    EXPECT_FALSE(strip->ScrollArrowsShown());
    EXPECT_EQ(strip->FirstShownTab(), 0);
    EXPECT_TRUE(strip->ScrollLeftRect().isNull());
}

}  // namespace
}  // namespace korvana
