#include <gtest/gtest.h>

#include "controls/ProgressGradient.h"

namespace korvana {
namespace {

ProgressRange At(int position, int lower = 0, int upper = 100) {
    ProgressRange range;
    range.SetRange(lower, upper);
    range.SetPosition(position);
    return range;
}

ProgressColours Default() {
    ProgressColours colours;
    colours.background = Rgb{255, 255, 255};
    return colours;
}

TEST(ProgressGradientTest, EmptyBarHasNoBandsAndZeroPercent) {
    const ProgressFrame frame = LayOutProgress(At(0), Default(), 100, true);
    EXPECT_FALSE(frame.belowLower);
    EXPECT_TRUE(frame.bands.empty());
    EXPECT_EQ(frame.backgroundFrom, 0);
    EXPECT_EQ(frame.text, "0%");
    EXPECT_EQ(LayOutProgress(At(0), Default(), 100, false).text, "");
}

TEST(ProgressGradientTest, FullBarEndsInTheEndColoursBand) {
    const ProgressFrame frame = LayOutProgress(At(100), Default(), 100, true);
    // Red to blue differs by 255 in two channels: 255 bands.
    ASSERT_EQ(frame.bands.size(), 255u);
    EXPECT_EQ(frame.bands.front().left, 0);
    EXPECT_EQ(frame.bands.front().colour, (Rgb{255, 0, 0}));
    EXPECT_EQ(frame.bands.back().right, 100);
    EXPECT_EQ(frame.bands.back().colour, (Rgb{1, 0, 254}));
    EXPECT_EQ(frame.backgroundFrom, 100);
    EXPECT_EQ(frame.text, "100%");
    for (std::size_t i = 1; i < frame.bands.size(); ++i) {
        EXPECT_EQ(frame.bands[i].left, frame.bands[i - 1].right);
    }
}

TEST(ProgressGradientTest, FillStopsAtTheFirstBandReachingPastThePosition) {
    // 40 of 100 on 100 pixels: x = 40; band 104 spans [40, 41).
    const ProgressFrame frame = LayOutProgress(At(40), Default(), 100, true);
    ASSERT_EQ(frame.bands.size(), 105u);
    EXPECT_EQ(frame.bands.back().left, 40);
    EXPECT_EQ(frame.bands.back().right, 41);
    EXPECT_EQ(frame.bands.back().colour, (Rgb{151, 0, 104}));
    EXPECT_EQ(frame.backgroundFrom, 41);
    EXPECT_EQ(frame.text, "40%");
}

TEST(ProgressGradientTest, AColumnsColourDoesNotDependOnThePosition) {
    const ProgressFrame small = LayOutProgress(At(13), Default(), 300, false);
    const ProgressFrame large = LayOutProgress(At(87), Default(), 300, false);
    ASSERT_LT(small.bands.size(), large.bands.size());
    for (std::size_t i = 0; i < small.bands.size(); ++i) {
        EXPECT_EQ(small.bands[i].colour, large.bands[i].colour);
        EXPECT_EQ(small.bands[i].right, large.bands[i].right);
    }
}

TEST(ProgressGradientTest, BelowTheRangeShowsOnlyTheFace) {
    const ProgressFrame frame = LayOutProgress(At(4, 5, 100), Default(), 100, true);
    EXPECT_TRUE(frame.belowLower);
    EXPECT_TRUE(frame.bands.empty());
    EXPECT_EQ(frame.text, "");
}

TEST(ProgressGradientTest, BandsFollowTheLargestChannelDifference) {
    ProgressColours colours;
    colours.start = Rgb{0, 0, 0};
    colours.end = Rgb{10, 4, 0};
    const ProgressFrame frame = LayOutProgress(At(100), colours, 20, false);
    ASSERT_EQ(frame.bands.size(), 10u);
    EXPECT_EQ(frame.bands[1].left, 2);
    // 4 / 10 per band in green, truncated.
    EXPECT_EQ(frame.bands[3].colour, (Rgb{3, 1, 0}));
    EXPECT_EQ(frame.bands[9].colour, (Rgb{9, 3, 0}));

    colours.end = colours.start;
    const ProgressFrame flat = LayOutProgress(At(50), colours, 20, true);
    EXPECT_TRUE(flat.bands.empty());
    EXPECT_EQ(flat.backgroundFrom, 0);
    EXPECT_EQ(flat.text, "50%");
}

TEST(ProgressGradientTest, PercentTextRoundsAndIgnoresLower) {
    EXPECT_EQ(ProgressText(1, 3), "33%");
    EXPECT_EQ(ProgressText(2, 3), "67%");
    EXPECT_EQ(ProgressText(150, 100), "150%");
    EXPECT_EQ(ProgressText(5, 0), "0%");
    // Lower does not enter the fraction.
    EXPECT_EQ(LayOutProgress(At(60, 50, 100), Default(), 100, true).text, "60%");
}

TEST(ProgressGradientTest, RangeStepsAndResets) {
    ProgressRange range;
    EXPECT_EQ(range.Upper(), 100);
    EXPECT_EQ(range.Step(), 10);
    range.StepIt();
    range.StepIt();
    EXPECT_EQ(range.Position(), 20);
    range.SetStep(5);
    range.StepIt();
    EXPECT_EQ(range.Position(), 25);
    range.SetRange(10, 50);
    EXPECT_EQ(range.Position(), 10);
    EXPECT_EQ(range.Lower(), 10);
    EXPECT_EQ(range.Upper(), 50);
}

}  // namespace
}  // namespace korvana
