#include "ControlsTestSupport.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace korvana::test {

int RecordingOwner::Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const std::string& e) {
        return e.rfind(prefix, 0) == 0;
    }));
}

QIcon TestIcon(const QColor& colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(150), 2));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(2, size * 0.55, size * 0.4, size * 0.35));
    painter.drawLine(QPointF(2 + size * 0.4, size * 0.72), QPointF(2 + size * 0.4, 3));
    painter.drawLine(QPointF(2 + size * 0.4, 3), QPointF(size - 3, size * 0.25));
    painter.end();
    return QIcon(pixmap);
}

MenuTable SampleMenu() {
    MenuTable recent{"IDR_RECENT",
                     {MenuCommand("&First Folder", 301), MenuCommand("&Second", 302)}};
    MenuTable menu{
        "IDR_FILE_MENU",
        {MenuCommand("&Locate Download Folder", 201),
         MenuCommand("&Clear Incomplete Directory", 202), MenuSubmenu("&Recent Folders", recent),
         MenuSeparator(), MenuCommand("&Show Hidden", 203), MenuCommand("&Purge", 204),
         MenuCommand("E&xit", 205)}};
    menu.items[4].checked = true;
    menu.items[5].grayed = true;
    return menu;
}

QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace korvana::test
