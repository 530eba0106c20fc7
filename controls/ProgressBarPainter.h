#pragma once

#include <QPainter>
#include <QRect>

#include "controls/ProgressGradient.h"

namespace korvana {

// What a gradient progress bar shows, shared by the bar widget and by list
// cells that draw one per row.
struct ProgressBarLook {
    ProgressColours colours;
    bool showText = false;
};

// Paints one bar into `area`: the gradient up to the first band past the
// position, the background after it and the percentage over both; a
// position below the range paints only `face`.
void PaintProgressBar(QPainter& painter, const QRect& area, const ProgressRange& range,
                      const ProgressBarLook& look, const QColor& face);

}  // namespace korvana
