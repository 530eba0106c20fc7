#include "platform/qt/QtDesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace korvana {

void QtDesktopOpener::OpenPath(const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

void QtDesktopOpener::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace korvana
