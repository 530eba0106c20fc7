#include <gtest/gtest.h>

#include "controls/TabHover.h"

namespace korvana {
namespace {

const std::vector<Rect> kTabs{{0, 0, 50, 20}, {50, 0, 100, 20}, {100, 0, 150, 20}};
const std::vector<bool> kEnabled{true, true, false};

TEST(TabHoverTest, FirstMoveStartsTheTimerAndHoversTheTab) {
    TabHoverTracker hover;
    const auto result = hover.MouseMove(Point{10, 5}, kTabs, kEnabled);
    EXPECT_TRUE(result.restartTimer);
    EXPECT_EQ(result.redrawTab, 0);
    EXPECT_EQ(hover.Hovered(), 0);
    EXPECT_TRUE(hover.TimerRunning());
    // Moving within the tab changes nothing.
    EXPECT_EQ(hover.MouseMove(Point{20, 5}, kTabs, kEnabled).redrawTab, -1);
    EXPECT_EQ(hover.Hovered(), 0);
    EXPECT_FALSE(hover.TimerTick(Point{20, 5}, kTabs));
}

TEST(TabHoverTest, LeavingATabUnhoversItAndTheNextTabWaitsForTheTimer) {
    TabHoverTracker hover;
    hover.MouseMove(Point{10, 5}, kTabs, kEnabled);
    auto result = hover.MouseMove(Point{60, 5}, kTabs, kEnabled);
    EXPECT_EQ(result.redrawTab, 0);
    EXPECT_EQ(hover.Hovered(), -1);
    // The timer is still marked running, so the new tab is not taken yet.
    result = hover.MouseMove(Point{61, 5}, kTabs, kEnabled);
    EXPECT_EQ(result.redrawTab, -1);
    EXPECT_EQ(hover.Hovered(), -1);
    EXPECT_TRUE(hover.TimerTick(Point{61, 5}, kTabs));
    EXPECT_FALSE(hover.TimerRunning());
    result = hover.MouseMove(Point{62, 5}, kTabs, kEnabled);
    EXPECT_EQ(result.redrawTab, 1);
    EXPECT_EQ(hover.Hovered(), 1);
}

TEST(TabHoverTest, TimerNoticesACursorThatLeftWithoutMoving) {
    TabHoverTracker hover;
    hover.MouseMove(Point{10, 5}, kTabs, kEnabled);
    EXPECT_TRUE(hover.TimerTick(Point{10, 300}, kTabs));
    EXPECT_EQ(hover.Hovered(), -1);
    EXPECT_FALSE(hover.TimerRunning());
}

TEST(TabHoverTest, DisabledTabsAndGapsAreNotHovered) {
    TabHoverTracker hover;
    EXPECT_EQ(hover.MouseMove(Point{120, 5}, kTabs, kEnabled).redrawTab, -1);
    EXPECT_EQ(hover.Hovered(), -1);
    EXPECT_TRUE(hover.TimerTick(Point{120, 5}, kTabs));
    EXPECT_EQ(hover.MouseMove(Point{200, 5}, kTabs, kEnabled).redrawTab, -1);
    // A tab drawn under the cursor becomes the hovered one.
    hover.NoteDrawn(2, true);
    EXPECT_EQ(hover.Hovered(), 2);
    hover.NoteDrawn(1, false);
    EXPECT_EQ(hover.Hovered(), 2);
}

TEST(TabHoverTest, AHoveredTabThatWasRemovedIsForgotten) {
    TabHoverTracker hover;
    hover.MouseMove(Point{110, 5}, kTabs, std::vector<bool>{true, true, true});
    EXPECT_EQ(hover.Hovered(), 2);
    const std::vector<Rect> fewer{kTabs[0]};
    hover.MouseMove(Point{10, 5}, fewer, std::vector<bool>{true});
    EXPECT_NE(hover.Hovered(), 2);
    EXPECT_EQ(TabAt(kTabs, Point{149, 19}), 2);
    EXPECT_EQ(TabAt(kTabs, Point{150, 5}), -1);
}

}  // namespace
}  // namespace korvana
