#include "app/ui/MainWindow.h"

namespace korvana {

MainWindow::MainWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IDD_MAINWINDOW"));
    setWindowTitle(QStringLiteral("Korvana MP3 Finder"));
}

}  // namespace korvana
