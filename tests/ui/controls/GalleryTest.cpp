#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <array>

#include "ControlsTestSupport.h"
#include "controls/CGradientMenu.h"
#include "controls/SearchTabCtrl.h"
#include "controls/SkinButton.h"
#include "controls/TextProgressCtrl.h"

// Renders every control in its states to PNG files, so that anyone can look
// at them: under KORVANA_GALLERY_DIR when it is set, else under "gallery" in
// the test's working folder (the build folder).
namespace korvana {
namespace {

QString GalleryFolder() {
    const QString folder = qEnvironmentVariableIsSet("KORVANA_GALLERY_DIR")
                               ? qEnvironmentVariable("KORVANA_GALLERY_DIR")
                               : QDir::current().filePath(QStringLiteral("gallery"));
    QDir().mkpath(folder);
    return folder;
}

// Saves the picture and checks that it shows something.
void Save(const QImage& image, const QString& name) {
    ASSERT_FALSE(image.isNull());
    const QString path = GalleryFolder() + QStringLiteral("/controls-") + name + ".png";
    ASSERT_TRUE(image.save(path)) << path.toStdString();
    int differing = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            differing += image.pixel(x, y) != image.pixel(0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 0) << name.toStdString();
}

void Hover(QWidget& widget) {
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), widget.mapToGlobal(QPointF(3, 3)));
    QApplication::sendEvent(&widget, &enter);
}

SkinButton* AddButton(QWidget& canvas, const QString& text, ButtonStyle style, int type, int x,
                      int y, const QColor& iconColour) {
    auto* button = new SkinButton(text, style, &canvas);
    button->setGeometry(x, y, 96, 64);
    button->SetShade(type, 8, 10, 0, QColor(0, 0, 0));
    button->SetIcon(test::TestIcon(iconColour));
    button->SetToolTipText(text);
    return button;
}

constexpr int kStates = 7;
using ButtonRow = std::array<SkinButton*, kStates>;

// One row of buttons per shade type, one column per state.
std::array<ButtonRow, 2> AddButtonRows(QWidget& canvas) {
    const ButtonStyle page{ButtonKind::Radio, true, false, TextAlign::Centre};
    const QString names[kStates] = {"Normal", "Hover",    "Pressed", "Checked",
                                    "Focus",  "Disabled", "Default"};
    std::array<ButtonRow, 2> rows{};
    for (int type = 0; type < 2; ++type) {
        for (int i = 0; i < kStates; ++i) {
            const QColor iconColour = type == 0 ? QColor(40, 110, 200) : QColor(200, 90, 30);
            SkinButton* button = AddButton(
                canvas, names[i], i == kStates - 1 ? ButtonStyle{} : page,
                type == 0 ? kBrushedShade : kNoiseShade, 8 + i * 104, 8 + type * 72, iconColour);
            button->SetGroup(type * 10 + i);
            // Pressing must not take the focus from the focused button.
            button->setFocusPolicy(Qt::NoFocus);
            rows[static_cast<std::size_t>(type)][static_cast<std::size_t>(i)] = button;
        }
    }
    return rows;
}

void PutInStates(ButtonRow& buttons) {
    for (SkinButton* button : buttons) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
    }
    Hover(*buttons[1]);
    QTest::mousePress(buttons[2], Qt::LeftButton);
    buttons[3]->SetCheck(true);
    buttons[5]->setEnabled(false);
    buttons[6]->SetDefault(true);
}

QImage RenderFocused(QWidget& canvas, SkinButton& button) {
    button.setFocusPolicy(Qt::StrongFocus);
    button.setFocus();
    EXPECT_TRUE(button.hasFocus());
    return test::Render(canvas);
}

TEST(ControlsGallery, ButtonsInEveryState) {
    QWidget canvas;
    canvas.resize(kStates * 104 + 8, 2 * 72 + 8);
    canvas.setAutoFillBackground(true);
    auto rows = AddButtonRows(canvas);
    canvas.show();
    canvas.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&canvas));
    for (ButtonRow& buttons : rows) {
        PutInStates(buttons);
    }
    // Only one button holds the focus at a time: the top row comes from the
    // first picture, the bottom row from the second.
    const QImage top = RenderFocused(canvas, *rows[0][4]);
    QImage image = RenderFocused(canvas, *rows[1][4]);
    QPainter painter(&image);
    painter.drawImage(QPoint(0, 0), top.copy(0, 0, top.width(), 8 + 72));
    painter.end();
    Save(image, "buttons");
    for (ButtonRow& buttons : rows) {
        QTest::mouseRelease(buttons[2], Qt::LeftButton);
    }
}

TEST(ControlsGallery, SearchTabs) {
    QWidget canvas;
    canvas.resize(520, 40);
    canvas.setAutoFillBackground(true);
    auto* strip = new SearchTabCtrl(nullptr, nullptr, &canvas);
    strip->setGeometry(4, 4, 512, strip->sizeHint().height());
    strip->SetSelectedTextColour(QColor(0, 0, 255));
    strip->SetHoverColour(QColor(0, 0, 0));
    strip->AddTab("madonna", -1, 0);
    strip->AddTab("the beatles", -1, 1);
    strip->AddTab("queen", -1, 2);
    strip->AddTab("disabled one", -1, 3);
    strip->SetResultCount(0, 12);
    strip->SetResultCount(1, 340);
    strip->SetTabEnabled(3, false);
    strip->SelectTab(1);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    Save(test::Render(canvas), "tabs");
}

TEST(ControlsGallery, ProgressBars) {
    QWidget canvas;
    canvas.resize(2 * 220 + 12, 5 * 24 + 8);
    canvas.setAutoFillBackground(true);
    const int positions[] = {0, 7, 40, 73, 100};
    for (int column = 0; column < 2; ++column) {
        for (int i = 0; i < 5; ++i) {
            auto* bar = new TextProgressCtrl(&canvas);
            bar->setGeometry(4 + column * 224, 4 + i * 24, 220, 20);
            bar->SetShowText(true);
            if (column == 1) {
                // As the transfers list sets up its bars.
                bar->SetBackgroundColour(Qt::white);
                bar->SetTextColour(QColor(0, 193, 0));
            }
            bar->SetPosition(i == 0 && column == 1 ? -1 : positions[i]);
        }
    }
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    Save(test::Render(canvas), "progress");
}

TEST(ControlsGallery, MenuWithOpenSubmenu) {
    MenuTable menu = test::SampleMenu();
    test::RecordingOwner owner;
    CGradientMenu popup(24, 1);
    popup.SetCaption("File");
    popup.SetColours(Qt::black, QColor(128, 255, 128), Qt::white);
    popup.Attach(&menu);
    const QPoint at =
        QGuiApplication::primaryScreen()->availableGeometry().topLeft() + QPoint(20, 20);
    ASSERT_TRUE(popup.Popup(at, &owner));
    popup.setFocus();
    QTest::keyClick(&popup, Qt::Key_Down);
    QTest::keyClick(&popup, Qt::Key_Down);
    QTest::keyClick(&popup, Qt::Key_Down);
    QTest::keyClick(&popup, Qt::Key_Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return popup.OpenChild() != nullptr; }, 2000));
    CGradientMenu* child = popup.OpenChild();
    const QImage parentImage = test::Render(popup);
    const QImage childImage = test::Render(*child);
    Save(parentImage, "menu");
    const QRect both = popup.geometry().united(child->geometry());
    QImage canvas(both.size() + QSize(16, 16), QImage::Format_RGB32);
    canvas.fill(QColor(90, 90, 110));
    QPainter painter(&canvas);
    painter.drawImage(popup.geometry().topLeft() - both.topLeft() + QPoint(8, 8), parentImage);
    painter.drawImage(child->geometry().topLeft() - both.topLeft() + QPoint(8, 8), childImage);
    painter.end();
    Save(canvas, "submenu");
    popup.CloseWholeMenu();
}

}  // namespace
}  // namespace korvana
