#pragma once

#include <QRect>

#include "prefs/PreferencesLayout.h"

class QFont;
class QWidget;

namespace korvana {

// Turns dialog units into pixels the way dialog templates are laid out: a
// horizontal unit is a quarter of the dialog font's average character width
// and a vertical unit an eighth of its character height, each rounded to
// the nearest pixel. So a layout keeps its proportions at any font size.
class DialogUnits {
  public:
    // Base units: the average character width and the character height.
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}
    // Base units measured from `font`.
    static DialogUnits ForFont(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;
    QRect Rect(const DialogControl& control) const;

    // Places `widget` at `control`'s rectangle in its parent.
    void Place(QWidget& widget, const DialogControl& control) const;

  private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace korvana
