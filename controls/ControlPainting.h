#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "controls/ButtonLogic.h"
#include "controls/Colour.h"
#include "controls/DibSurface.h"

namespace korvana {

// The surface as an image, top row first, ready to draw.
QImage ToImage(const DibSurface& surface);

// 3-D edges in the desktop's colours: two-pixel raised and sunken edges,
// one-pixel thin frames, and the default button's sunken edge with a
// raised edge one pixel inside.
void DrawEdge(QPainter& painter, const QRect& rect, Edge edge, const SystemColours& colours);

// A one-pixel frame: `topLeft` on the top and left sides, `bottomRight` on
// the others.
void DrawFrame(QPainter& painter, const QRect& rect, const QColor& topLeft,
               const QColor& bottomRight);

}  // namespace korvana
