#include <gtest/gtest.h>

#include "controls/ButtonLogic.h"

namespace korvana {
namespace {

TEST(ButtonLogicTest, StyleDecidesKindBorderAndPushLook) {
    const ButtonTraits push = TraitsFromStyle(ButtonStyle{ButtonKind::Push, false, false});
    EXPECT_TRUE(push.pushLike);
    EXPECT_TRUE(push.border);
    const ButtonTraits check = TraitsFromStyle(ButtonStyle{ButtonKind::Check, false, true});
    EXPECT_FALSE(check.pushLike);
    EXPECT_FALSE(check.border);
    EXPECT_TRUE(check.flat);
    const ButtonTraits radio = TraitsFromStyle(ButtonStyle{ButtonKind::Radio, true, false});
    EXPECT_TRUE(radio.pushLike);
    EXPECT_TRUE(radio.border);
    EXPECT_EQ(radio.kind, ButtonKind::Radio);
}

TEST(ButtonLogicTest, IconBoxFollowsAlignmentAndOffsets) {
    const Size button{64, 48};
    const Size icon{32, 32};
    // Centred: above the middle; a y offset of 6 moves the top and keeps the
    // bottom.
    EXPECT_EQ(PlaceIconBox(kIconCentre, button, icon, 4, 0, 0), (Rect{16, 0, 48, 32}));
    EXPECT_EQ(PlaceIconBox(kIconCentre, button, icon, 4, 0, 6), (Rect{16, 6, 48, 32}));
    EXPECT_EQ(PlaceIconBox(kIconCentre, button, icon, 4, 0, -4), (Rect{16, -4, 48, 32}));
    EXPECT_EQ(PlaceIconBox(kIconCentre, Size{64, 100}, icon, 4, 3, 0), (Rect{19, 18, 48, 50}));
    // Any unknown alignment counts as centre.
    EXPECT_EQ(PlaceIconBox(0, button, icon, 4, 0, 6),
              PlaceIconBox(kIconCentre, button, icon, 4, 0, 6));
    // Left and right: vertically centred, inset by the margin.
    EXPECT_EQ(PlaceIconBox(kIconLeft, button, icon, 4, 0, 0), (Rect{4, 8, 36, 40}));
    EXPECT_EQ(PlaceIconBox(kIconRight, button, icon, 4, 0, 0), (Rect{28, 8, 60, 40}));
    EXPECT_EQ(PlaceIconBox(kIconLeft, Size{64, 20}, icon, 4, 0, 0), (Rect{4, 0, 36, 32}));
}

TEST(ButtonLogicTest, TextBoxMakesRoomForTheIcon) {
    const Size button{100, 60};
    const Rect icon{34, 6, 66, 30};
    EXPECT_EQ(TextBox(button, 4, false, kIconCentre, icon, 32), (Rect{6, 3, 94, 60}));
    EXPECT_EQ(TextBox(button, 4, true, kIconLeft, icon, 32), (Rect{38, 3, 94, 60}));
    EXPECT_EQ(TextBox(button, 4, true, kIconRight, icon, 32), (Rect{6, 3, 62, 60}));
    EXPECT_EQ(TextBox(button, 4, true, kIconCentre, icon, 32), (Rect{6, 30, 94, 55}));
}

TEST(ButtonLogicTest, PushButtonsNeverStayChecked) {
    ButtonState push(ButtonKind::Push);
    EXPECT_FALSE(push.SetCheck(true));
    EXPECT_FALSE(push.Checked());
    ButtonState check(ButtonKind::Check);
    EXPECT_TRUE(check.SetCheck(true));
    EXPECT_FALSE(check.SetCheck(true));
    check.SetKind(ButtonKind::Push);
    EXPECT_FALSE(check.Checked());
}

TEST(ButtonLogicTest, DraggingOffCancelsTheClickAndDraggingBackRestoresIt) {
    ButtonState button(ButtonKind::Check);
    button.Press();
    EXPECT_TRUE(button.Pushed());
    EXPECT_TRUE(button.MoveWhileHeld(false));
    EXPECT_FALSE(button.Pushed());
    EXPECT_FALSE(button.MoveWhileHeld(false));
    const auto off = button.ReleaseButton(false);
    EXPECT_FALSE(off.click);
    EXPECT_FALSE(off.changeCheck);

    button.Press();
    button.MoveWhileHeld(false);
    EXPECT_TRUE(button.MoveWhileHeld(true));
    EXPECT_TRUE(button.Pushed());
    const auto on = button.ReleaseButton(true);
    EXPECT_TRUE(on.click);
    EXPECT_TRUE(on.changeCheck);
    EXPECT_TRUE(on.newCheck);
    EXPECT_FALSE(button.Held());
}

TEST(ButtonLogicTest, ReleaseTogglesChecksAndTurnsRadiosOn) {
    ButtonState check(ButtonKind::Check);
    check.SetCheck(true);
    check.Press();
    auto release = check.ReleaseButton(true);
    EXPECT_TRUE(release.changeCheck);
    EXPECT_FALSE(release.newCheck);

    ButtonState radio(ButtonKind::Radio);
    radio.SetCheck(true);
    radio.Press();
    release = radio.ReleaseButton(true);
    EXPECT_TRUE(release.newCheck);

    ButtonState push(ButtonKind::Push);
    push.Press();
    release = push.ReleaseButton(true);
    EXPECT_TRUE(release.click);
    EXPECT_FALSE(release.changeCheck);

    // A release that was never pressed here does nothing.
    EXPECT_FALSE(push.ReleaseButton(true).click);
}

TEST(ButtonLogicTest, LosingFocusCancelsAPress) {
    ButtonState button(ButtonKind::Push);
    button.Press();
    button.LoseFocus();
    EXPECT_FALSE(button.ReleaseButton(true).click);
}

TEST(ButtonLogicTest, HoverEndsOnPressAndWaitsUntilRelease) {
    ButtonState button(ButtonKind::Push);
    EXPECT_TRUE(button.Hover());
    EXPECT_FALSE(button.Hover());
    button.Press();
    EXPECT_FALSE(button.Hovering());
    EXPECT_FALSE(button.Hover());
    button.ReleaseButton(true);
    EXPECT_TRUE(button.Hover());
    button.Leave();
    EXPECT_FALSE(button.Hovering());
}

TEST(ButtonLogicTest, SpaceBarTogglesAtOnceAndClicksOnRelease) {
    ButtonState check(ButtonKind::Check);
    const auto down = check.SpaceDown();
    EXPECT_TRUE(down.changeCheck);
    EXPECT_TRUE(down.newCheck);
    EXPECT_TRUE(check.Pushed());
    EXPECT_TRUE(check.SpaceUp());
    EXPECT_FALSE(check.Pushed());
    EXPECT_FALSE(check.SpaceUp());
    ButtonState push(ButtonKind::Push);
    EXPECT_FALSE(push.SpaceDown().changeCheck);
}

TEST(ButtonLogicTest, ToolTipShowsTheCheckedTextWhileChecked) {
    ButtonState button(ButtonKind::Check);
    button.SetToolTipTexts("Play", "Pause");
    EXPECT_EQ(button.ToolTip(), "Play");
    button.SetCheck(true);
    EXPECT_EQ(button.ToolTip(), "Pause");
    button.SetToolTipTexts("Play", "");
    EXPECT_EQ(button.ToolTip(), "Play");
}

TEST(ButtonLogicTest, LookOfEachState) {
    const ButtonTraits bordered = TraitsFromStyle(ButtonStyle{});
    ButtonFrameInput input;
    ButtonLook look = ChooseLook(bordered, input, 4);
    EXPECT_EQ(look.shade, ShadeState::Normal);
    EXPECT_EQ(look.edge, Edge::Raised);
    EXPECT_FALSE(look.focusLines);

    input.hovering = true;
    input.hasHoverIcon = true;
    input.focused = true;
    look = ChooseLook(bordered, input, 4);
    EXPECT_EQ(look.shade, ShadeState::Hover);
    EXPECT_EQ(look.icon, IconState::Hover);
    EXPECT_TRUE(look.focusLines);
    EXPECT_EQ(look.focusInset, 4);
    // Without a focus margin the focus still shows, just inside the edge.
    EXPECT_TRUE(ChooseLook(bordered, input, 0).focusLines);
    EXPECT_EQ(ChooseLook(bordered, input, 0).focusInset, kFallbackFocusInset);

    input.pushed = true;
    look = ChooseLook(bordered, input, 4);
    EXPECT_EQ(look.shade, ShadeState::Pressed);
    EXPECT_EQ(look.shadeAt, (Point{1, 1}));
    EXPECT_EQ(look.contentShift, (Point{1, 1}));
    EXPECT_EQ(look.edge, Edge::Sunken);

    input.enabled = false;
    look = ChooseLook(bordered, input, 4);
    EXPECT_EQ(look.shade, ShadeState::Disabled);
    EXPECT_TRUE(look.embossedText);
    EXPECT_FALSE(look.focusLines);
    EXPECT_EQ(look.edge, Edge::Raised);
}

TEST(ButtonLogicTest, FlatDefaultAndBorderlessEdges) {
    ButtonTraits flat = TraitsFromStyle(ButtonStyle{ButtonKind::Push, false, true});
    ButtonFrameInput input;
    EXPECT_EQ(ChooseLook(flat, input, 4).edge, Edge::None);
    input.hovering = true;
    EXPECT_EQ(ChooseLook(flat, input, 4).edge, Edge::ThinRaised);
    input.checked = true;
    EXPECT_EQ(ChooseLook(flat, input, 4).edge, Edge::ThinSunken);

    ButtonFrameInput plain;
    plain.isDefault = true;
    EXPECT_EQ(ChooseLook(TraitsFromStyle(ButtonStyle{}), plain, 4).edge, Edge::DefaultRaised);

    const ButtonTraits box = TraitsFromStyle(ButtonStyle{ButtonKind::Check, false, false});
    plain.checked = true;
    const ButtonLook checked = ChooseLook(box, plain, 4);
    EXPECT_EQ(checked.shade, ShadeState::Pressed);
    EXPECT_EQ(checked.shadeAt, (Point{0, 0}));
    EXPECT_EQ(checked.contentShift, (Point{0, 0}));
    EXPECT_EQ(checked.edge, Edge::None);
    plain.enabled = false;
    EXPECT_EQ(ChooseLook(flat, plain, 4).edge, Edge::None);
}

}  // namespace
}  // namespace korvana
