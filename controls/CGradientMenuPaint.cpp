#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include "controls/CGradientMenu.h"
#include "controls/ControlPainting.h"
#include "controls/MenuRules.h"
#include "controls/QtBridge.h"

namespace korvana {
namespace {

QImage ToImage(const MenuBitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const Rgb c = bitmap.At(x, y);
            image.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    return image;
}

MenuBitmapColours BitmapColours(const SystemColours& c) {
    return MenuBitmapColours{c.buttonText, c.shadow,          c.menu,
                             c.highlight,  c.buttonHighlight, c.greyText};
}

// The platform's check mark: a small tick centred in the square.
void DrawTick(QPainter& painter, const QRect& square, int size, const QColor& colour) {
    const QRect box = ToQRect(CentreInSquare(ToRect(square), Size{size, size}));
    const QPoint a(box.left() + size / 5, box.top() + size / 2);
    const QPoint b(box.left() + size * 2 / 5, box.top() + size * 7 / 10);
    const QPoint c(box.left() + size * 4 / 5, box.top() + size / 4);
    QPen pen(colour, 2);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawPolyline(QPolygon({a, b, c}));
}

// Draws `image` centred in `square`, cut to the square when larger.
void DrawCentred(QPainter& painter, const QRect& square, const QImage& image) {
    const QRect target =
        ToQRect(CentreInSquare(ToRect(square), Size{image.width(), image.height()}));
    const QPoint source((image.width() - target.width()) / 2,
                        (image.height() - target.height()) / 2);
    painter.drawImage(target.topLeft(), image, QRect(source, target.size()));
}

// Fills the background around a check mark, from the square's inner
// top-left pixel: the checked look's dither, or plain menu colour on a
// highlighted row. Nothing is filled when the mark covers that pixel.
void FillAroundMark(QImage& image, QRgb background, bool hot, const SystemColours& c) {
    const int w = image.width();
    const int h = image.height();
    if (w <= 2 || h <= 2 || image.pixel(1, 1) != background) {
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::copy(line, line + w, pixels.begin() + static_cast<std::ptrdiff_t>(y) * w);
    }
    const QRgb light = ToQColor(c.buttonHighlight).rgb();
    const QRgb menu = ToQColor(c.menu).rgb();
    FloodFill(pixels, w, h, 1, 1,
              [&](int x, int y) { return hot || !DitherBit(x, y) ? menu : light; });
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto from = pixels.begin() + static_cast<std::ptrdiff_t>(y) * w;
        std::copy(from, from + w, line);
    }
}

}  // namespace

void CGradientMenu::paintEvent(QPaintEvent*) {
    if (menu_ == nullptr) {
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    PaintFrame(painter);
    PaintBand(painter);
    for (int row = 0; row < static_cast<int>(layout_.rows.size()); ++row) {
        PaintRow(painter, row);
    }
}

void CGradientMenu::PaintFrame(QPainter& painter) {
    const SystemColours c = SystemColoursFrom(palette());
    painter.fillRect(rect(), ToQColor(c.face));
    DrawFrame(painter, rect(), ToQColor(c.light), ToQColor(c.darkShadow));
    DrawFrame(painter, rect().adjusted(1, 1, -1, -1), ToQColor(c.buttonHighlight),
              ToQColor(c.shadow));
}

void CGradientMenu::PaintBand(QPainter& painter) {
    const QRect band = BandRect();
    if (band.width() <= 0 || band.height() <= 0) {
        return;
    }
    painter.save();
    painter.setClipRect(band);
    for (const BandStrip& strip : BandStrips(band.height(), ToRgb(bandTop_), ToRgb(bandBottom_))) {
        painter.fillRect(
            QRect(band.left(), band.top() + strip.top, band.width(), strip.bottom - strip.top),
            ToQColor(strip.colour));
    }
    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPixelSize(14);
    captionFont.setWeight(QFont::DemiBold);
    captionFont.setItalic(true);
    painter.setFont(captionFont);
    painter.setPen(captionColour_);
    // Rotated so that the caption reads upwards from the band's bottom.
    painter.translate(band.left() + 2, band.bottom() + 1);
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, band.height(), band.width()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, TextFromBytes(caption_));
    painter.restore();
}

void CGradientMenu::PaintRow(QPainter& painter, int row) {
    const SystemColours c = SystemColoursFrom(palette());
    const MenuItem& item = menu_->items[static_cast<std::size_t>(row)];
    const QRect rect = RowRect(row);
    if (item.separator) {
        const int y = rect.top() + rect.height() / 2;
        painter.fillRect(QRect(rect.left() + 2, y, rect.width() - 4, 1), ToQColor(c.shadow));
        painter.fillRect(QRect(rect.left() + 2, y + 1, rect.width() - 4, 1),
                         ToQColor(c.buttonHighlight));
        return;
    }
    const bool hot = row == highlighted_;
    const QColor background = ToQColor(hot ? c.highlight : c.face);
    QColor text = ToQColor(hot ? c.highlightText : c.menuText);
    if (item.grayed) {
        text = ToQColor(c.greyText);
    }
    painter.fillRect(rect.adjusted(1, 0, 0, 0), background);
    const QRect square(rect.left(), rect.top(), rect.height(), rect.height());
    PaintCheckSquare(painter, square, item, hot);

    const QRect textBox = rect.adjusted(square.width() + 2, 0, 0, 0);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QString label = TextFromBytes(item.text);
    if (item.grayed && !hot) {
        painter.setPen(ToQColor(c.buttonHighlight));
        painter.drawText(textBox.translated(1, 1), flags, label);
    }
    painter.setPen(text);
    painter.drawText(textBox, flags, label);

    if (item.submenu) {
        const auto corners = SubmenuArrow(ToRect(rect), checkMark_);
        painter.setPen(text);
        painter.setBrush(text);
        painter.drawPolygon(
            QPolygon({ToQPoint(corners[0]), ToQPoint(corners[1]), ToQPoint(corners[2])}));
        painter.setBrush(Qt::NoBrush);
    }
}

void CGradientMenu::PaintCheckSquare(QPainter& painter, const QRect& square, const MenuItem& item,
                                     bool hot) {
    const SystemColours c = SystemColoursFrom(palette());
    const auto& bitmap = item.checked ? item.checkedBitmap : item.uncheckedBitmap;
    const bool plainHot = hot && !item.grayed;
    const Rgb imageBackground = plainHot ? c.highlight : c.menu;
    if (!item.checked) {
        if (bitmap) {
            DrawCentred(painter, square,
                        ToImage(MapMenuBitmap(*bitmap, BitmapColours(c), plainHot, item.grayed,
                                              imageBackground)));
        }
        return;
    }
    // Drawn apart, so that the area around the mark can be flood-filled.
    const Rgb fillFrom = hot && !bitmap ? c.highlight : c.menu;
    QImage image(square.size(), QImage::Format_RGB32);
    image.fill(ToQColor(fillFrom));
    QPainter local(&image);
    const QRect q(QPoint(0, 0), square.size());
    if (bitmap) {
        DrawCentred(local, q,
                    ToImage(MapMenuBitmap(*bitmap, BitmapColours(c), plainHot, item.grayed,
                                          imageBackground)));
    } else {
        DrawTick(local, q, checkMark_, ToQColor(item.grayed ? c.greyText : c.menuText));
    }
    DrawFrame(local, q, ToQColor(c.shadow), ToQColor(c.buttonHighlight));
    local.end();
    FillAroundMark(image, ToQColor(fillFrom).rgb(), hot, c);
    painter.drawImage(square.topLeft(), image);
}

}  // namespace korvana
