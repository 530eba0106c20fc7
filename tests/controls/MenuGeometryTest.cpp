#include <gtest/gtest.h>

#include "controls/MenuGeometry.h"

namespace korvana {
namespace {

const Rect kDesktop{0, 0, 800, 600};
const Size kMenu{100, 80};

TEST(MenuPlacementTest, OpensAtThePointWhenItFits) {
    EXPECT_EQ(PlacePopup(Point{10, 20}, kMenu, kDesktop), (Point{10, 20}));
}

TEST(MenuPlacementTest, MirrorsAwayFromTheEdgesItWouldCross) {
    // Near the bottom-right corner: up and to the left of the point.
    EXPECT_EQ(PlacePopup(Point{780, 590}, kMenu, kDesktop), (Point{680, 510}));
    EXPECT_EQ(PlacePopup(Point{780, 20}, kMenu, kDesktop), (Point{680, 20}));
    EXPECT_EQ(PlacePopup(Point{20, 590}, kMenu, kDesktop), (Point{20, 510}));
    // Touching the edge counts as not fitting.
    EXPECT_EQ(PlacePopup(Point{700, 20}, kMenu, kDesktop), (Point{600, 20}));
    // Nothing fits: at the point after all.
    EXPECT_EQ(PlacePopup(Point{50, 50}, Size{900, 900}, kDesktop), (Point{50, 50}));
}

TEST(MenuPlacementTest, SubmenusPreferRightAndDownThenTryTheOtherSides) {
    const Rect row{200, 100, 300, 120};
    EXPECT_EQ(PlaceSubmenu(row, kMenu, kDesktop), (Point{300, 100}));
    const Rect low{200, 560, 300, 580};
    EXPECT_EQ(PlaceSubmenu(low, kMenu, kDesktop), (Point{300, 500}));
    const Rect right{650, 100, 750, 120};
    EXPECT_EQ(PlaceSubmenu(right, kMenu, kDesktop), (Point{550, 100}));
    const Rect corner{650, 560, 750, 580};
    EXPECT_EQ(PlaceSubmenu(corner, kMenu, kDesktop), (Point{550, 500}));
    EXPECT_EQ(PlaceSubmenu(row, Size{900, 900}, kDesktop), (Point{-700, -780}));
}

TEST(MenuBandTest, StripsRunFromTheBottomColourToTheTopColour) {
    const Rgb top{0, 0, 0};
    const Rgb bottom{128, 255, 128};
    const auto strips = BandStrips(100, top, bottom);
    ASSERT_EQ(strips.size(), 100u);
    EXPECT_EQ(strips.front().top, 99);
    EXPECT_EQ(strips.front().bottom, 100);
    // bottom + (top - bottom) * 1 / 100, truncated towards zero.
    EXPECT_EQ(strips.front().colour, (Rgb{127, 253, 127}));
    EXPECT_EQ(strips.back().top, 0);
    EXPECT_EQ(strips.back().colour, top);

    const auto tall = BandStrips(300, top, bottom);
    ASSERT_EQ(tall.size(), 150u);
    EXPECT_EQ(tall.front().top, 298);
    EXPECT_EQ(tall.front().colour, (Rgb{128 - 256 / 300, 255 - 510 / 300, 128 - 256 / 300}));
    EXPECT_EQ(tall.back().colour, top);
}

TEST(MenuBandTest, TheLastStripMayPassTheTopButNotTheTopColour) {
    const auto strips = BandStrips(995, Rgb{0, 0, 0}, Rgb{255, 255, 255});
    ASSERT_FALSE(strips.empty());
    EXPECT_LT(strips.back().top, 0);
    EXPECT_EQ(strips.back().colour, (Rgb{0, 0, 0}));
    EXPECT_TRUE(BandStrips(0, Rgb{}, Rgb{}).empty());
    EXPECT_EQ(BandStrips(1, Rgb{0, 0, 0}, Rgb{90, 90, 90}).size(), 1u);
}

TEST(MenuRowTest, SubmenuArrowFollowsTheCheckMarkWidth) {
    const auto corners = SubmenuArrow(Rect{0, 10, 100, 30}, 13);
    // a = 3, d = 3, left = 100 - 9, top = 10 + 3.
    EXPECT_EQ(corners[0], (Point{94, 16}));
    EXPECT_EQ(corners[1], (Point{97, 19}));
    EXPECT_EQ(corners[2], (Point{94, 22}));
}

TEST(MenuRowTest, RowsShareTheWidestWidthPlusTheCheckMark) {
    const MenuLayout layout = LayOutMenu({{50, 20}, {80, 7}, {30, 20}}, 13, 24);
    ASSERT_EQ(layout.rows.size(), 3u);
    EXPECT_EQ(layout.rows[0], (Rect{0, 0, 93, 20}));
    EXPECT_EQ(layout.rows[1], (Rect{0, 20, 93, 27}));
    EXPECT_EQ(layout.rows[2], (Rect{0, 27, 93, 47}));
    EXPECT_EQ(layout.popup, (Size{24 + 93 + 6, 47 + 6}));
    EXPECT_EQ(layout.list, (Rect{27, 3, 120, 50}));
    EXPECT_EQ(LayOutMenu({{10, 10}}, 13, 0).popup, (Size{29, 16}));
}

TEST(MenuRowTest, ImagesAreCentredInTheCheckSquareAndCut) {
    const Rect square{10, 20, 30, 40};
    EXPECT_EQ(CentreInSquare(square, Size{8, 6}), (Rect{16, 27, 24, 33}));
    EXPECT_EQ(CentreInSquare(square, Size{40, 10}), (Rect{10, 25, 30, 35}));
}

}  // namespace
}  // namespace korvana
