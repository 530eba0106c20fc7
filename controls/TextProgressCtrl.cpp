#include "controls/TextProgressCtrl.h"

#include <QPainter>

#include "controls/QtBridge.h"

namespace korvana {

TextProgressCtrl::TextProgressCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    look_.colours.background = ToRgb(palette().color(QPalette::Button));
}

void TextProgressCtrl::SetRange(int lower, int upper) {
    range_.SetRange(lower, upper);
    update();
}

void TextProgressCtrl::SetPosition(int position) {
    range_.SetPosition(position);
    update();
}

void TextProgressCtrl::SetStep(int step) {
    range_.SetStep(step);
}

void TextProgressCtrl::StepIt() {
    range_.StepIt();
    update();
}

void TextProgressCtrl::SetBackgroundColour(const QColor& colour) {
    look_.colours.background = ToRgb(colour);
    update();
}

void TextProgressCtrl::SetTextColour(const QColor& colour) {
    look_.colours.text = ToRgb(colour);
    update();
}

void TextProgressCtrl::SetShowText(bool show) {
    look_.showText = show;
    update();
}

QSize TextProgressCtrl::sizeHint() const {
    return QSize(120, fontMetrics().height() + 4);
}

void TextProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintProgressBar(painter, rect(), range_, look_, palette().color(QPalette::Button));
}

}  // namespace korvana
