#include "library/ui/LibraryArtwork.h"

#include <QPainter>
#include <QSvgRenderer>

// The artwork is compiled into a static library; its registration must be
// named from the global namespace.
static void InitLibraryResources() {
    Q_INIT_RESOURCE(library);
}

namespace korvana {
namespace {

QPixmap Render(const QString& name, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/res/library/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

void LoadLibraryArtwork() {
    InitLibraryResources();
}

// One pixmap of one size, so that the button draws the icon at exactly the
// size it was drawn for.
QIcon LibraryIcon(const QString& name, int size) {
    return QIcon(Render(name, QSize(size, size)));
}

QPixmap VolumeSymbol(QSize size) {
    return Render(QStringLiteral("volume"), size);
}

}  // namespace korvana
