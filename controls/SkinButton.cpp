#include "controls/SkinButton.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "controls/ControlPainting.h"
#include "controls/QtBridge.h"

namespace korvana {
namespace {

// The size the icon is drawn in: its own largest size, else the usual
// icon size.
QSize NaturalIconSize(const QIcon& icon) {
    const QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty()) {
        return QSize(32, 32);
    }
    return *std::max_element(sizes.begin(), sizes.end(), [](const QSize& a, const QSize& b) {
        return a.width() * a.height() < b.width() * b.height();
    });
}
}  // namespace

SkinButton::SkinButton(QWidget* parent) : SkinButton(QString(), ButtonStyle{}, parent) {}

SkinButton::SkinButton(const QString& text, const ButtonStyle& style, QWidget* parent)
    : QWidget(parent), text_(text) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetStyle(style);
}

void SkinButton::SetStyle(const ButtonStyle& style) {
    traits_ = TraitsFromStyle(style);
    state_.SetKind(traits_.kind);
    UpdateToolTip();
    update();
}

// The status row sets its texts at every report of the core; the same text
// again must not repaint (and wake the display connection).
void SkinButton::SetText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    update();
}

void SkinButton::SetShade(int type, int granularity, int highlight, int colouring,
                          const QColor& colour, std::uint32_t seed) {
    shadeRequest_ = ShadeRequest{type, granularity, highlight, colouring, ToRgb(colour), seed};
    RebuildShades();
}

void SkinButton::RebuildShades() {
    if (!shadeRequest_) {
        return;
    }
    shades_ =
        MakeButtonShades(*shadeRequest_, width(), height(), margin_, SystemColoursFrom(palette()));
    normalImage_ = ToImage(shades_.normal);
    pressedImage_ = ToImage(shades_.pressed);
    disabledImage_ = ToImage(shades_.disabled);
    hoverImage_ = ToImage(shades_.hover);
    horizontalFocusImage_ = ToImage(shades_.horizontalFocus);
    verticalFocusImage_ = ToImage(shades_.verticalFocus);
    update();
}

void SkinButton::SetIcon(const QIcon& icon, int alignment, const QIcon& pressed,
                         const QIcon& hover) {
    icon_ = icon;
    iconAlignment_ = alignment;
    pressedIcon_ = pressed.isNull() ? icon : pressed;
    hoverIcon_ = hover.isNull() ? icon : hover;
    iconSize_ = icon.isNull() ? QSize() : NaturalIconSize(icon);
    PlaceIcon();
}

void SkinButton::PlaceIcon() {
    if (icon_.isNull()) {
        iconBox_ = Rect{};
    } else {
        iconBox_ = PlaceIconBox(iconAlignment_, Size{width(), height()},
                                Size{iconSize_.width(), iconSize_.height()}, margin_, iconOffsetX_,
                                iconOffsetY_);
    }
    update();
}

void SkinButton::SetIconOffsetX(int offset) {
    iconOffsetX_ = offset;
    PlaceIcon();
}

void SkinButton::SetIconOffsetY(int offset) {
    iconOffsetY_ = offset;
    PlaceIcon();
}

void SkinButton::SetToolTipText(const QString& text, const QString& checkedText) {
    state_.SetToolTipTexts(text.toStdString(), checkedText.toStdString());
    UpdateToolTip();
}

void SkinButton::UpdateToolTip() {
    setToolTip(QString::fromStdString(state_.ToolTip()));
}

QColor SkinButton::SetTextColour(const QColor& colour) {
    const QColor previous = textColour_.value_or(palette().color(QPalette::ButtonText));
    textColour_ = colour;
    update();
    return previous;
}

void SkinButton::SetFlat(bool flat) {
    traits_.flat = flat;
    update();
}

void SkinButton::SetDefault(bool isDefault) {
    isDefault_ = isDefault;
    update();
}

void SkinButton::SetButtonFont(const QString& face, int height, int weight, bool italic,
                               bool underline) {
    QFont font(face.left(31));
    font.setPixelSize(std::max(1, std::abs(height)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(italic);
    font.setUnderline(underline);
    SetButtonFont(font);
}

void SkinButton::SetButtonFont(const QFont& font) {
    font_ = font;
    update();
}

void SkinButton::SetCheck(bool checked) {
    state_.SetCheck(checked);
    if (state_.Checked() && traits_.kind == ButtonKind::Radio) {
        UncheckGroup();
    }
    QToolTip::hideText();
    UpdateToolTip();
    update();
}

void SkinButton::UncheckGroup() {
    if (parentWidget() == nullptr) {
        return;
    }
    const auto siblings = parentWidget()->findChildren<SkinButton*>(Qt::FindDirectChildrenOnly);
    for (SkinButton* sibling : siblings) {
        if (sibling != this && sibling->group_ == group_) {
            sibling->Uncheck();
        }
    }
}

void SkinButton::Uncheck() {
    if (!state_.Checked()) {
        return;
    }
    state_.SetCheck(false);
    UpdateToolTip();
    update();
}

QSize SkinButton::sizeHint() const {
    const QFontMetrics metrics(font_.value_or(QApplication::font()));
    const int textWidth = metrics.horizontalAdvance(text_) + 2 * margin_ + 8;
    const int iconWidth = iconSize_.isValid() ? iconSize_.width() + 2 * margin_ : 0;
    return QSize(std::max({textWidth, iconWidth, 40}),
                 std::max(metrics.height() + 12, iconSize_.height() + iconOffsetY_ + 12));
}

void SkinButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RebuildShades();
    PlaceIcon();
}

void SkinButton::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        RebuildShades();
    }
}

}  // namespace korvana
