#include "search/ui/SearchArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace korvana {
namespace {

const QColor kWebWaiting(150, 160, 175);
const QColor kWebComplete(34, 150, 90);
const QColor kWebFailed(200, 60, 50);
const QColor kCore(40, 100, 200);
const QColor kHad(40, 150, 60);
const QColor kComing(215, 120, 20);

QPixmap Draw(int size, const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

// A globe: the web.
QPixmap Globe(const QColor& colour) {
    return Draw(16, [&](QPainter& p) {
        QColor fill = colour;
        fill.setAlpha(60);
        p.setPen(QPen(colour, 1.3));
        p.setBrush(fill);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    });
}

// Three linked peers: the core's networks.
QPixmap Peers() {
    return Draw(16, [](QPainter& p) {
        const QPointF nodes[] = {{8, 3.5}, {3.5, 12}, {12.5, 12}};
        p.setPen(QPen(kCore, 1.4));
        p.drawLine(nodes[0], nodes[1]);
        p.drawLine(nodes[1], nodes[2]);
        p.drawLine(nodes[2], nodes[0]);
        p.setPen(Qt::NoPen);
        p.setBrush(kCore);
        for (const QPointF& node : nodes) {
            p.drawEllipse(node, 2.6, 2.6);
        }
    });
}

// A ticked box: the file is in the Library.
QPixmap Had() {
    return Draw(16, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kHad);
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{4, 8.5}, {7, 11.5}, {12, 4.5}}));
    });
}

// An arrow into a tray: the file is in the transfer list.
QPixmap Coming() {
    return Draw(16, [](QPainter& p) {
        p.setPen(QPen(kComing, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8, 1.5), QPointF(8, 10));
        p.drawPolyline(QPolygonF({{4.5, 6.5}, {8, 10}, {11.5, 6.5}}));
        p.drawPolyline(QPolygonF({{2, 11}, {2, 14.5}, {14, 14.5}, {14, 11}}));
    });
}

}  // namespace

QList<QPixmap> StatusImages() {
    return {Globe(kWebWaiting), Globe(kWebComplete), Globe(kWebFailed), Peers(), Had(), Coming()};
}

QIcon DownloadSelectedIcon() {
    return QIcon(Draw(24, [](QPainter& p) {
        p.scale(24.0 / 28.0, 24.0 / 28.0);
        QLinearGradient shade(0, 0, 0, 28);
        shade.setColorAt(0, QColor(70, 150, 235));
        shade.setColorAt(1, QColor(25, 90, 185));
        QPainterPath arrow;
        arrow.moveTo(10, 2);
        arrow.lineTo(18, 2);
        arrow.lineTo(18, 11);
        arrow.lineTo(23, 11);
        arrow.lineTo(14, 20);
        arrow.lineTo(5, 11);
        arrow.lineTo(10, 11);
        arrow.closeSubpath();
        p.fillPath(arrow, shade);
        p.setPen(QPen(QColor(25, 90, 185), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 19}, {3, 25}, {25, 25}, {25, 19}}));
    }));
}

QIcon FindNextIcon() {
    return QIcon(Draw(22, [](QPainter& p) {
        p.setPen(QPen(QColor(60, 70, 90), 2.4));
        p.setBrush(QColor(200, 225, 250, 160));
        p.drawEllipse(QRectF(3, 3, 11, 11));
        p.setPen(QPen(QColor(60, 70, 90), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13.5, 13.5), QPointF(19, 19));
    }));
}

QIcon RemoveSearchIcon(bool pressed) {
    return QIcon(Draw(16, [pressed](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(pressed ? QColor(150, 40, 35) : QColor(205, 75, 65));
        p.drawRoundedRect(QRectF(1, 1, 14, 14), 3.5, 3.5);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 5), QPointF(11, 11));
        p.drawLine(QPointF(11, 5), QPointF(5, 11));
    }));
}

QPixmap SearchPicture() {
    return Draw(40, [](QPainter& p) {
        QLinearGradient shade(0, 0, 40, 40);
        shade.setColorAt(0, QColor(95, 140, 235));
        shade.setColorAt(1, QColor(45, 70, 170));
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawRoundedRect(QRectF(1, 1, 38, 38), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(9, 24, 9, 7));
        p.drawEllipse(QRectF(22, 21, 9, 7));
        p.setPen(QPen(Qt::white, 2.4));
        p.drawLine(QPointF(17, 27), QPointF(17, 10));
        p.drawLine(QPointF(30, 24), QPointF(30, 7));
        p.setPen(QPen(Qt::white, 3.4));
        p.drawLine(QPointF(17, 10), QPointF(30, 7));
    });
}

}  // namespace korvana
