#pragma once

#include <QColor>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QString>
#include <string_view>

#include "controls/Colour.h"
#include "controls/Geometry.h"

namespace korvana {

// Conversions between the controls' plain values and Qt's.
inline QColor ToQColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}
inline Rgb ToRgb(const QColor& c) {
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue())};
}
inline QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline Rect ToRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
inline QPoint ToQPoint(Point p) {
    return QPoint(p.x, p.y);
}
inline Point ToPoint(const QPoint& p) {
    return Point{p.x(), p.y()};
}

// The desktop colour scheme the controls draw with, taken from a palette.
SystemColours SystemColoursFrom(const QPalette& palette);

// A byte string as it came from the core or a web page: UTF-8 when it is
// valid, else Latin-1.
QString TextFromBytes(std::string_view bytes);

}  // namespace korvana
