#include "controls/SortHeaderImages.h"

#include <QPainter>
#include <QSvgRenderer>

namespace korvana {
namespace {

constexpr int kHeaderImageSize = 16;

QPixmap Render(const char* name) {
    QPixmap pixmap(kHeaderImageSize, kHeaderImageSize);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/res/icons/%1.svg").arg(QLatin1String(name)));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

QList<QPixmap> SortHeaderImages() {
    return {Render("header_unsorted"), Render("header_descending"), Render("header_ascending")};
}

}  // namespace korvana
