#include "prefs/ui/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace korvana {
namespace {

// value * numerator / denominator rounded half away from zero.
int Scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits DialogUnits::ForFont(const QFont& font) {
    // The average width is taken over the 52 letters and rounded, as dialog
    // templates have always measured it; digits or a single "x" would give
    // other proportions for proportional fonts.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogUnits((letters / 26 + 1) / 2, metrics.height());
}

int DialogUnits::X(int units) const {
    return Scale(units, baseWidth_, 4);
}

int DialogUnits::Y(int units) const {
    return Scale(units, baseHeight_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    // The far edges are scaled, not the sizes, so neighbouring controls that
    // touch in dialog units still touch in pixels.
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QRect DialogUnits::Rect(const DialogControl& control) const {
    return Rect(control.x, control.y, control.width, control.height);
}

void DialogUnits::Place(QWidget& widget, const DialogControl& control) const {
    widget.setGeometry(Rect(control));
}

}  // namespace korvana
