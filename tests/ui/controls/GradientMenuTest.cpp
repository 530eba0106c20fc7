#include <gtest/gtest.h>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "ControlsTestSupport.h"
#include "controls/CGradientMenu.h"
#include "controls/MenuGeometry.h"
#include "controls/QtBridge.h"

namespace korvana {
namespace {

using Events = std::vector<std::string>;

class GradientMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        menu = test::SampleMenu();
        popup.SetCaption("File");
        popup.SetColours(Qt::black, QColor(128, 255, 128), Qt::white);
        popup.Attach(&menu);
    }

    void TearDown() override {
        popup.CloseWholeMenu();
        Settle();
    }

    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }

    QPoint Origin() const { return Desktop().topLeft() + QPoint(40, 40); }
    static QRect Desktop() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    void Open() { ASSERT_TRUE(popup.Popup(Origin(), &owner)); }

    void Key(Qt::Key key) {
        QTest::keyClick(&popup, key, Qt::NoModifier);
        Settle();
    }

    void Type(char c) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(c)));
        QApplication::sendEvent(&popup, &press);
        Settle();
    }

    void ClickRow(CGradientMenu& level, int row) {
        QTest::mouseClick(&level, Qt::LeftButton, {}, level.RowRect(row).center());
        Settle();
    }

    // Down three times reaches "Recent Folders"; Right opens it.
    void OpenSubmenuByKeyboard() {
        Open();
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Right);
        ASSERT_NE(popup.OpenChild(), nullptr);
    }

    MenuTable menu;
    test::RecordingOwner owner;
    CGradientMenu popup{24, 1};
};

TEST_F(GradientMenuTest, ClickingARowGivesOneCommandAfterTheExit) {
    Open();
    EXPECT_TRUE(popup.isVisible());
    EXPECT_EQ(popup.objectName(), "IDR_FILE_MENU");
    ClickRow(popup, 1);
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_EQ(owner.commands, (std::vector<int>{202}));
    EXPECT_EQ(owner.events, (Events{"init IDR_FILE_MENU", "enter IDR_FILE_MENU",
                                    "exit IDR_FILE_MENU", "command 202"}));
}

TEST_F(GradientMenuTest, ChoosingInASubmenuExitsEveryLevelDeepestFirst) {
    OpenSubmenuByKeyboard();
    CGradientMenu* child = popup.OpenChild();
    // Opened from the keyboard: the first row is highlighted.
    EXPECT_EQ(child->HighlightedRow(), 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(owner.commands, (std::vector<int>{301}));
    const Events tail(owner.events.end() - 3, owner.events.end());
    EXPECT_EQ(tail, (Events{"exit IDR_RECENT", "exit IDR_FILE_MENU", "command 301"}));
    EXPECT_EQ(owner.Count("initpopup IDR_RECENT"), 1);
    EXPECT_EQ(owner.Count("enter"), 2);
    EXPECT_EQ(owner.Count("exit"), 2);
}

TEST_F(GradientMenuTest, HighlightChangesAreReportedOnce) {
    Open();
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(popup.HighlightedRow(), 2);
    const unsigned popupFlags = kMenuFlagHilite | kMenuFlagPopup;
    EXPECT_EQ(owner.events.back(), "select 2 " + std::to_string(popupFlags));
    // Down skips the separator and the grayed row, then wraps.
    Key(Qt::Key_Down);
    EXPECT_EQ(popup.HighlightedRow(), 4);
    Key(Qt::Key_Down);
    EXPECT_EQ(popup.HighlightedRow(), 6);
    Key(Qt::Key_Down);
    EXPECT_EQ(popup.HighlightedRow(), 0);
    EXPECT_EQ(owner.Count("select"), 6);
}

TEST_F(GradientMenuTest, GrayedRowCannotBeChosenInAnyWay) {
    Open();
    ClickRow(popup, 5);
    EXPECT_TRUE(popup.IsOpen());
    QTest::mouseMove(&popup, popup.RowRect(5).center());
    Settle();
    EXPECT_NE(popup.HighlightedRow(), 5);
    Type('p');  // its mnemonic highlights it but does not run it
    EXPECT_EQ(popup.HighlightedRow(), 5);
    Key(Qt::Key_Return);
    EXPECT_TRUE(popup.IsOpen());
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(GradientMenuTest, SharedMnemonicsCycleWithoutRunning) {
    menu = MenuTable{"IDR_TABS",
                     {MenuCommand("&Stop", 1), MenuCommand("&Remove", 2),
                      MenuCommand("Clear All &Searches", 3)}};
    Open();
    Type('s');
    EXPECT_EQ(popup.HighlightedRow(), 0);
    Type('S');
    EXPECT_EQ(popup.HighlightedRow(), 2);
    Type('s');
    EXPECT_EQ(popup.HighlightedRow(), 0);
    EXPECT_TRUE(popup.IsOpen());
    EXPECT_TRUE(owner.commands.empty());
    Type('r');
    EXPECT_EQ(owner.commands, (std::vector<int>{2}));
}

TEST_F(GradientMenuTest, UnmatchedCharactersAreOfferedToTheOwner) {
    Open();
    owner.charReply = MenuCharReply{MenuCharReply::Action::Choose, 6};
    Type('q');
    EXPECT_EQ(owner.Count("char 113"), 1);
    EXPECT_EQ(owner.commands, (std::vector<int>{205}));

    owner = test::RecordingOwner();
    owner.charReply = MenuCharReply{MenuCharReply::Action::Close, -1};
    Open();
    Type('q');
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(GradientMenuTest, LeftReturnsToTheParentAndEscapeClosesEverything) {
    OpenSubmenuByKeyboard();
    Key(Qt::Key_Left);
    EXPECT_EQ(popup.OpenChild(), nullptr);
    EXPECT_TRUE(popup.IsOpen());
    EXPECT_EQ(owner.Count("exit"), 1);
    Key(Qt::Key_Right);
    ASSERT_NE(popup.OpenChild(), nullptr);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_EQ(owner.Count("exit"), 3);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(GradientMenuTest, ClickOutsideClosesAllLevelsWithoutACommand) {
    OpenSubmenuByKeyboard();
    const QPoint outside = popup.mapFromGlobal(Desktop().bottomRight() - QPoint(5, 5));
    QTest::mouseClick(&popup, Qt::LeftButton, {}, outside);
    Settle();
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_EQ(owner.Count("exit"), 2);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(GradientMenuTest, AnotherApplicationBecomingActiveClosesTheMenu) {
    OpenSubmenuByKeyboard();
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    Settle();
    EXPECT_FALSE(popup.IsOpen());
    EXPECT_EQ(owner.Count("exit"), 2);
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(GradientMenuTest, ClickOnTheParentWhileASubmenuIsOpenActsOnTheParent) {
    OpenSubmenuByKeyboard();
    ClickRow(popup, 0);
    EXPECT_EQ(owner.commands, (std::vector<int>{201}));
    EXPECT_EQ(owner.Count("exit"), 2);
}

TEST_F(GradientMenuTest, RestingOnASubmenuRowOpensIt) {
    Open();
    QTest::mouseMove(&popup, popup.RowRect(2).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup.OpenChild() != nullptr; }, 3000));
    CGradientMenu* child = popup.OpenChild();
    EXPECT_EQ(child->HighlightedRow(), -1);
    // Beside the parent row, on its right.
    EXPECT_GE(child->x(), popup.mapToGlobal(popup.RowRect(2).topRight()).x());
    QTest::mouseMove(&popup, popup.RowRect(0).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup.OpenChild() == nullptr; }, 3000));
}

TEST_F(GradientMenuTest, OpensUpAndLeftNearTheBottomRightCorner) {
    const QPoint corner = Desktop().bottomRight() - QPoint(3, 3);
    ASSERT_TRUE(popup.Popup(corner, &owner));
    EXPECT_LT(popup.geometry().right(), corner.x());
    EXPECT_LT(popup.geometry().bottom(), corner.y());
    EXPECT_TRUE(Desktop().contains(popup.geometry()));
}

TEST_F(GradientMenuTest, BandRunsFromTheBottomColourToTheTopColour) {
    Open();
    const QImage image = test::Render(popup);
    const QRect band = popup.BandRect();
    const auto strips = BandStrips(band.height(), Rgb{0, 0, 0}, Rgb{128, 255, 128});
    const int x = band.right() - 1;  // clear of the caption
    EXPECT_EQ(image.pixelColor(x, band.bottom()), ToQColor(strips.front().colour));
    EXPECT_EQ(image.pixelColor(x, band.top()), QColor(0, 0, 0));
    EXPECT_NE(strips.front().colour, (Rgb{0, 0, 0}));
    int caption = 0;
    for (int y = band.bottom() - 40; y <= band.bottom(); ++y) {
        for (int cx = band.left(); cx < band.left() + 18; ++cx) {
            caption += image.pixelColor(cx, y) == QColor(Qt::white) ? 1 : 0;
        }
    }
    EXPECT_GT(caption, 5);
}

TEST_F(GradientMenuTest, CheckSquaresShowTheDitherAndTheMappedBitmap) {
    // Row 0 gets an unchecked picture: black, light grey, white, dark grey.
    auto picture = std::make_shared<MenuBitmap>();
    picture->width = 2;
    picture->height = 2;
    picture->pixels = {{0, 0, 0}, {192, 192, 192}, {255, 255, 255}, {128, 128, 128}};
    menu.items[0].uncheckedBitmap = picture;
    Open();
    const QImage image = test::Render(popup);
    const SystemColours c = SystemColoursFrom(popup.palette());

    const QRect checked = popup.RowRect(4);
    const QPoint q = checked.topLeft();
    EXPECT_EQ(image.pixelColor(q), ToQColor(c.shadow));  // thin sunken edge
    EXPECT_EQ(image.pixelColor(q + QPoint(checked.height() - 1, 1)), ToQColor(c.buttonHighlight));
    EXPECT_EQ(image.pixelColor(q + QPoint(1, 1)), ToQColor(c.menu));
    EXPECT_EQ(image.pixelColor(q + QPoint(2, 1)), ToQColor(c.buttonHighlight));
    EXPECT_EQ(image.pixelColor(q + QPoint(1, 2)), ToQColor(c.buttonHighlight));

    const QRect row = popup.RowRect(0);
    const QPoint at = row.topLeft() + QPoint((row.height() - 2) / 2, (row.height() - 2) / 2);
    EXPECT_EQ(image.pixelColor(at), ToQColor(c.buttonText));
    EXPECT_EQ(image.pixelColor(at + QPoint(1, 0)), ToQColor(c.menu));
    EXPECT_EQ(image.pixelColor(at + QPoint(0, 1)), ToQColor(c.buttonHighlight));
    EXPECT_EQ(image.pixelColor(at + QPoint(1, 1)), ToQColor(c.shadow));
}

TEST_F(GradientMenuTest, TrackReturnsAfterTheMenuClosedAndTheCommandWasGiven) {
    QTimer::singleShot(0, &popup, [this] {
        QTest::keyClick(&popup, Qt::Key_Down);
        QTest::keyClick(&popup, Qt::Key_Return);
    });
    EXPECT_EQ(popup.Track(Origin(), &owner), 1);
    EXPECT_EQ(owner.commands, (std::vector<int>{201}));
    EXPECT_EQ(owner.events.back(), "command 201");
    EXPECT_EQ(popup.Track(Origin(), nullptr), 0);
    popup.Detach();
    EXPECT_EQ(popup.Track(Origin(), &owner), 0);
}

}  // namespace
}  // namespace korvana
