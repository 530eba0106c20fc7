#include <gtest/gtest.h>
#include <QTest>

#include "ControlsTestSupport.h"
#include "controls/TextProgressCtrl.h"

namespace korvana {
namespace {

class TextProgressCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bar.resize(100, 20);
        bar.SetBackgroundColour(Qt::white);
    }

    QColor At(int x) { return test::Render(bar).pixelColor(x, 3); }

    TextProgressCtrl bar;
};

TEST_F(TextProgressCtrlTest, EmptyBarShowsOnlyTheBackground) {
    EXPECT_EQ(At(0), QColor(Qt::white));
    EXPECT_EQ(At(99), QColor(Qt::white));
}

TEST_F(TextProgressCtrlTest, FullBarEndsInTheEndColoursBand) {
    bar.SetPosition(100);
    // 255 bands on 100 columns: bands 0 and 1 are empty, so column 0 shows
    // band 2.
    EXPECT_EQ(At(0), QColor(253, 0, 2));
    EXPECT_EQ(At(99), QColor(1, 0, 254));
}

TEST_F(TextProgressCtrlTest, FillEndsOnTheFirstBandPastThePosition) {
    bar.SetPosition(40);
    EXPECT_EQ(At(40), QColor(151, 0, 104));
    EXPECT_EQ(At(41), QColor(Qt::white));
    bar.StepIt();
    // Column 41 is band 107's: bands 105 and 106 are empty.
    EXPECT_EQ(At(41), QColor(148, 0, 107));
}

TEST_F(TextProgressCtrlTest, BelowTheRangeShowsTheFaceAndNoText) {
    bar.SetRange(10, 100);
    bar.SetShowText(true);
    bar.SetTextColour(QColor(0, 193, 0));
    bar.SetPosition(5);
    const QImage image = test::Render(bar);
    const QColor face = bar.palette().color(QPalette::Button);
    for (int x = 0; x < 100; x += 7) {
        for (int y = 0; y < 20; y += 3) {
            ASSERT_EQ(image.pixelColor(x, y), face) << x << "," << y;
        }
    }
}

TEST_F(TextProgressCtrlTest, PercentageIsWrittenInTheTextColour) {
    bar.resize(160, 24);
    bar.SetShowText(true);
    bar.SetTextColour(QColor(0, 193, 0));
    bar.SetPosition(100);
    const QImage image = test::Render(bar);
    int green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            green += c.green() > 150 && c.red() < 80 && c.blue() < 80 ? 1 : 0;
        }
    }
    EXPECT_GT(green, 10);
}

TEST(ProgressBarPainterTest, PaintsAListCellInPlace) {
    QImage cell(140, 30, QImage::Format_RGB32);
    cell.fill(Qt::black);
    QPainter painter(&cell);
    ProgressRange range;
    range.SetPosition(100);
    ProgressBarLook look;
    look.colours.background = Rgb{255, 255, 255};
    PaintProgressBar(painter, QRect(20, 5, 100, 20), range, look, Qt::gray);
    painter.end();
    EXPECT_EQ(cell.pixelColor(19, 10), QColor(Qt::black));
    EXPECT_EQ(cell.pixelColor(20, 10), QColor(253, 0, 2));
    EXPECT_EQ(cell.pixelColor(119, 10), QColor(1, 0, 254));
    EXPECT_EQ(cell.pixelColor(120, 10), QColor(Qt::black));
    EXPECT_EQ(cell.pixelColor(60, 4), QColor(Qt::black));
}

}  // namespace
}  // namespace korvana
