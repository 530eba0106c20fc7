#include "controls/ProgressBarPainter.h"

#include "controls/QtBridge.h"

namespace korvana {

void PaintProgressBar(QPainter& painter, const QRect& area, const ProgressRange& range,
                      const ProgressBarLook& look, const QColor& face) {
    const ProgressFrame frame = LayOutProgress(range, look.colours, area.width(), look.showText);
    if (frame.belowLower) {
        painter.fillRect(area, face);
        return;
    }
    // Where no band was drawn (an empty bar) the background shows as well.
    painter.fillRect(area, ToQColor(look.colours.background));
    for (const ProgressBand& band : frame.bands) {
        painter.fillRect(
            QRect(area.left() + band.left, area.top(), band.right - band.left, area.height()),
            ToQColor(band.colour));
    }
    if (!frame.text.empty()) {
        painter.setPen(ToQColor(look.colours.text));
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                         QString::fromStdString(frame.text));
    }
}

}  // namespace korvana
