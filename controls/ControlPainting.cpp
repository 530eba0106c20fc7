#include "controls/ControlPainting.h"

#include "controls/QtBridge.h"

namespace korvana {

QImage ToImage(const DibSurface& surface) {
    if (!surface.Valid()) {
        return QImage();
    }
    QImage image(surface.Width(), surface.Height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < surface.Width(); ++x) {
            const Rgb c = surface.PixelColour(x, y);
            line[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return image;
}

void DrawFrame(QPainter& painter, const QRect& rect, const QColor& topLeft,
               const QColor& bottomRight) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

void DrawEdge(QPainter& painter, const QRect& rect, Edge edge, const SystemColours& colours) {
    const QColor light = ToQColor(colours.light);
    const QColor highlight = ToQColor(colours.buttonHighlight);
    const QColor shadow = ToQColor(colours.shadow);
    const QColor dark = ToQColor(colours.darkShadow);
    const QRect inner = rect.adjusted(1, 1, -1, -1);
    switch (edge) {
        case Edge::None:
            return;
        case Edge::Raised:
            DrawFrame(painter, rect, light, dark);
            DrawFrame(painter, inner, highlight, shadow);
            return;
        case Edge::Sunken:
            DrawFrame(painter, rect, shadow, highlight);
            DrawFrame(painter, inner, dark, light);
            return;
        case Edge::ThinRaised:
            DrawFrame(painter, rect, highlight, shadow);
            return;
        case Edge::ThinSunken:
            DrawFrame(painter, rect, shadow, highlight);
            return;
        case Edge::DefaultRaised:
            DrawEdge(painter, rect, Edge::Sunken, colours);
            DrawEdge(painter, inner, Edge::Raised, colours);
            return;
    }
}

}  // namespace korvana
