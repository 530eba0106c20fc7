#include <gtest/gtest.h>
#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include "ControlsTestSupport.h"
#include "controls/QtBridge.h"
#include "controls/SkinButton.h"

namespace korvana {
namespace {

class SkinButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(400, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    SkinButton* Make(ButtonStyle style, int group = 0, QWidget* parent = nullptr) {
        auto* button = new SkinButton(QString(), style, parent ? parent : &window);
        button->setGeometry(10, 10, 80, 40);
        button->SetGroup(group);
        button->show();
        return button;
    }

    static QColor ShadeAt(const DibSurface& shade, int x, int y) {
        return ToQColor(shade.PixelColour(x, y));
    }

    QWidget window;
};

const ButtonStyle kPush{};
const ButtonStyle kCheck{ButtonKind::Check, true, false, TextAlign::Centre};
const ButtonStyle kRadio{ButtonKind::Radio, true, false, TextAlign::Centre};

TEST_F(SkinButtonTest, DraggingOffBeforeReleasingGivesNoClick) {
    SkinButton* button = Make(kCheck);
    QSignalSpy clicks(button, &SkinButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button->IsPushed());
    QTest::mouseMove(button, QPoint(200, 10));
    EXPECT_FALSE(button->IsPushed());
    QTest::mouseMove(button, QPoint(12, 12));
    EXPECT_TRUE(button->IsPushed());
    QTest::mouseMove(button, QPoint(200, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->IsChecked());

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(button->IsChecked());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(button->IsChecked());
}

TEST_F(SkinButtonTest, RadioGroupUnchecksOnlyItsOwnMembers) {
    SkinButton* first = Make(kRadio, 1);
    SkinButton* second = Make(kRadio, 1);
    SkinButton* third = Make(kCheck, 1);
    SkinButton* otherGroup = Make(kRadio, 2);
    QWidget otherParent(&window);
    SkinButton* otherDialog = Make(kRadio, 1, &otherParent);
    first->SetCheck(true);
    third->SetCheck(true);
    otherGroup->SetCheck(true);
    otherDialog->SetCheck(true);
    // Only a radio button unchecks its group, but it unchecks every member.
    EXPECT_TRUE(first->IsChecked());
    first->SetCheck(true);
    EXPECT_FALSE(third->IsChecked());

    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(second->IsChecked());
    EXPECT_FALSE(first->IsChecked());
    EXPECT_TRUE(otherGroup->IsChecked());
    EXPECT_TRUE(otherDialog->IsChecked());
    // A radio button stays on when clicked again.
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(second->IsChecked());
}

TEST_F(SkinButtonTest, PushButtonIgnoresSetCheckAndDrawsUnchecked) {
    SkinButton* button = Make(kPush);
    button->SetShade(kBrushedShade, 8, 10, 0, Qt::black);
    const QImage before = test::Render(*button);
    button->SetCheck(true);
    EXPECT_FALSE(button->IsChecked());
    EXPECT_EQ(test::Render(*button), before);
}

TEST_F(SkinButtonTest, ToolTipFollowsTheCheckedState) {
    SkinButton* button = Make(kCheck);
    button->SetToolTipText("Repeat", "Repeat is on");
    EXPECT_EQ(button->toolTip(), "Repeat");
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button->toolTip(), "Repeat is on");
    button->Uncheck();
    EXPECT_EQ(button->toolTip(), "Repeat");
    button->SetToolTipText("Shuffle");
    button->SetCheck(true);
    EXPECT_EQ(button->toolTip(), "Shuffle");
}

TEST_F(SkinButtonTest, SpaceBarTogglesAndClicksOnRelease) {
    SkinButton* button = Make(kCheck);
    QSignalSpy clicks(button, &SkinButton::clicked);
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_TRUE(button->IsChecked());
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(SkinButtonTest, EnterOnTheFocusedButtonPressesIt) {
    SkinButton* push = Make(kPush);
    QSignalSpy clicks(push, &SkinButton::clicked);
    push->setFocus();
    QTest::keyClick(push, Qt::Key_Return);
    QTest::keyClick(push, Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(push->IsPushed());

    SkinButton* check = Make(kCheck);
    check->setFocus();
    QTest::keyClick(check, Qt::Key_Return);
    EXPECT_TRUE(check->IsChecked());
}

TEST_F(SkinButtonTest, FocusIsVisibleWithoutAFocusMargin) {
    SkinButton* button = Make(kPush);
    button->SetText(QStringLiteral("Go"));
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    other.setFocus();
    const QImage unfocused = button->grab().toImage();
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage();
    EXPECT_NE(focused, unfocused);
}

TEST_F(SkinButtonTest, IconBoxKeepsItsBottomWhenOffset) {
    SkinButton* button = Make(kPush);
    button->resize(64, 48);
    button->SetIcon(test::TestIcon(Qt::blue, 32));
    // Centred, with the default y offset of 6.
    EXPECT_EQ(button->IconBox(), (Rect{16, 6, 48, 32}));
    button->SetIconOffsetY(-2);
    EXPECT_EQ(button->IconBox(), (Rect{16, -2, 48, 32}));
    button->SetIcon(test::TestIcon(Qt::blue, 32), kIconLeft);
    EXPECT_EQ(button->IconBox(), (Rect{4, 6, 36, 40}));
    button->SetIcon(QIcon());
    EXPECT_TRUE(button->IconBox().Empty());
}

TEST_F(SkinButtonTest, PressedIconFallsBackToTheIcon) {
    SkinButton* button = Make(kPush);
    button->SetIcon(test::TestIcon(Qt::red, 24), kIconLeft, QIcon(), QIcon());
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = test::Render(*button);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    int reddish = 0;
    for (int y = 0; y < pressed.height(); ++y) {
        for (int x = 0; x < 40; ++x) {
            const QColor c = pressed.pixelColor(x, y);
            reddish += c.red() > 200 && c.green() < 60 ? 1 : 0;
        }
    }
    EXPECT_GT(reddish, 10);
}

TEST_F(SkinButtonTest, EachStateDrawsItsOwnShade) {
    SkinButton* button = Make(kPush);
    button->SetShade(kBrushedShade, 8, 30, 0, Qt::black);
    const SystemColours colours = SystemColoursFrom(button->palette());
    const ButtonShades& shades = button->Shades();
    ASSERT_EQ(shades.normal.Width(), 80);

    QImage image = test::Render(*button);
    EXPECT_EQ(image.pixelColor(30, 20), ShadeAt(shades.normal, 30, 20));
    EXPECT_EQ(image.pixelColor(0, 0), ToQColor(colours.light));  // raised edge

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(button, &enter);
    ASSERT_TRUE(button->IsHovering());
    image = test::Render(*button);
    EXPECT_EQ(image.pixelColor(30, 20), ShadeAt(shades.hover, 30, 20));
    EXPECT_NE(ShadeAt(shades.hover, 30, 20), ShadeAt(shades.normal, 30, 20));

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button->IsHovering());
    image = test::Render(*button);
    // The pressed shade sits one pixel lower and to the right, in a sunken edge.
    EXPECT_EQ(image.pixelColor(30, 20), ShadeAt(shades.pressed, 29, 19));
    EXPECT_EQ(image.pixelColor(0, 0), ToQColor(colours.shadow));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));

    button->setEnabled(false);
    image = test::Render(*button);
    EXPECT_EQ(image.pixelColor(30, 20), ShadeAt(shades.disabled, 30, 20));
}

TEST_F(SkinButtonTest, ShadesFollowTheButtonsSize) {
    SkinButton* button = Make(kPush);
    button->SetShade(kNoiseShade, 8, 10, 0, Qt::black);
    button->resize(120, 30);
    EXPECT_EQ(button->Shades().normal.Width(), 120);
    EXPECT_EQ(button->Shades().normal.Height(), 30);
    const auto bits = button->Shades().normal.Bits();
    button->resize(60, 30);
    button->resize(120, 30);
    EXPECT_EQ(button->Shades().normal.Bits(), bits);
}

}  // namespace
}  // namespace korvana
