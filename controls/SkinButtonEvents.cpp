#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ControlPainting.h"
#include "controls/QtBridge.h"
#include "controls/SkinButton.h"

namespace korvana {
namespace {

Qt::Alignment HorizontalAlignment(TextAlign align) {
    switch (align) {
        case TextAlign::Left:
            return Qt::AlignLeft;
        case TextAlign::Right:
            return Qt::AlignRight;
        case TextAlign::Centre:
            break;
    }
    return Qt::AlignHCenter;
}

}  // namespace

void SkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    state_.Press();
    update();
}

void SkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (state_.Held()) {
        if (state_.MoveWhileHeld(rect().contains(event->position().toPoint()))) {
            update();
        }
        return;
    }
    if (state_.Hover()) {
        update();
    }
}

void SkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    ApplyRelease(state_.ReleaseButton(rect().contains(event->position().toPoint())));
}

void SkinButton::ApplyRelease(const ButtonState::Release& release) {
    if (release.changeCheck) {
        SetCheck(release.newCheck);
    }
    update();
    if (release.click) {
        emit clicked();
    }
}

void SkinButton::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    if (state_.Hover()) {
        update();
    }
}

void SkinButton::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    state_.Leave();
    update();
}

void SkinButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    state_.LoseFocus();
    update();
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !event->isAutoRepeat()) {
        // Enter presses the focused button at once, as a press and release
        // of the space bar would.
        const ButtonState::Release release = state_.SpaceDown();
        if (release.changeCheck) {
            SetCheck(release.newCheck);
        }
        const bool click = state_.SpaceUp();
        update();
        if (click) {
            emit clicked();
        }
        return;
    }
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const ButtonState::Release release = state_.SpaceDown();
    if (release.changeCheck) {
        SetCheck(release.newCheck);
    }
    update();
}

void SkinButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    const bool click = state_.SpaceUp();
    update();
    if (click) {
        emit clicked();
    }
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font_.value_or(QApplication::font()));
    const SystemColours colours = SystemColoursFrom(palette());
    ButtonFrameInput input;
    input.enabled = isEnabled();
    input.pushed = state_.Pushed();
    input.checked = state_.Checked();
    input.hovering = state_.Hovering();
    input.focused = hasFocus();
    input.isDefault = isDefault_;
    input.hasHoverIcon = !hoverIcon_.isNull();
    const ButtonLook look = ChooseLook(traits_, input, margin_);
    PaintBackground(painter, look, colours);
    PaintIcon(painter, look);
    DrawEdge(painter, rect(), look.edge, colours);
    if (look.focusLines) {
        PaintFocusLines(painter, look.focusInset);
    }
    PaintText(painter, look, colours);
}

void SkinButton::PaintBackground(QPainter& painter, const ButtonLook& look,
                                 const SystemColours& colours) {
    painter.fillRect(rect(), ToQColor(colours.face));
    const QImage* image = &normalImage_;
    switch (look.shade) {
        case ShadeState::Disabled:
            image = &disabledImage_;
            break;
        case ShadeState::Pressed:
            image = &pressedImage_;
            break;
        case ShadeState::Hover:
            image = hoverImage_.isNull() ? &normalImage_ : &hoverImage_;
            break;
        case ShadeState::Normal:
            break;
    }
    if (!image->isNull()) {
        painter.drawImage(ToQPoint(look.shadeAt), *image);
    }
}

void SkinButton::PaintIcon(QPainter& painter, const ButtonLook& look) {
    if (icon_.isNull()) {
        return;
    }
    const QIcon* icon = &icon_;
    QIcon::Mode mode = QIcon::Normal;
    if (look.icon == IconState::Disabled) {
        mode = QIcon::Disabled;
    } else if (look.icon == IconState::Pressed) {
        icon = &pressedIcon_;
    } else if (look.icon == IconState::Hover) {
        icon = &hoverIcon_;
    }
    const QPoint at = QPoint(iconBox_.left, iconBox_.top) + ToQPoint(look.contentShift);
    painter.drawPixmap(at, icon->pixmap(iconSize_, devicePixelRatioF(), mode));
}

void SkinButton::PaintFocusLines(QPainter& painter, int insetBy) {
    const QRect inset = rect().adjusted(insetBy, insetBy, -insetBy, -insetBy);
    if (margin_ <= 0 || horizontalFocusImage_.isNull() || verticalFocusImage_.isNull()) {
        // No shaded focus lines were made for this button: a dotted frame.
        QPen dotted(palette().color(QPalette::ButtonText), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.drawRect(inset);
        return;
    }
    // Edges as the focus lines count them: right and bottom lie just
    // outside the inset area.
    const int left = inset.left();
    const int top = inset.top();
    const int right = inset.right() + 1;
    const int bottom = inset.bottom() + 1;
    painter.drawImage(QPoint(left + 1, top), horizontalFocusImage_);
    painter.drawImage(QPoint(left + 1, bottom), horizontalFocusImage_);
    painter.drawImage(QPoint(left, top + 1), verticalFocusImage_);
    painter.drawImage(QPoint(right, top + 1), verticalFocusImage_);
}

void SkinButton::PaintText(QPainter& painter, const ButtonLook& look,
                           const SystemColours& colours) {
    if (text_.isEmpty()) {
        return;
    }
    const Rect box = TextBox(Size{width(), height()}, margin_, !icon_.isNull(), iconAlignment_,
                             iconBox_, iconSize_.width());
    const int flags = static_cast<int>(HorizontalAlignment(traits_.textAlign) | Qt::AlignVCenter) |
                      Qt::TextSingleLine | Qt::TextShowMnemonic;
    QRect area = ToQRect(box);
    if (look.embossedText) {
        painter.setPen(ToQColor(colours.buttonHighlight));
        painter.drawText(area, flags, text_);
        painter.setPen(ToQColor(colours.greyText));
        painter.drawText(area.translated(-1, -1), flags, text_);
        return;
    }
    area.translate(ToQPoint(look.contentShift));
    painter.setPen(textColour_.value_or(ToQColor(colours.buttonText)));
    painter.drawText(area, flags, text_);
}

}  // namespace korvana
