#include <QApplication>

#include "app/ui/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    korvana::MainWindow window;
    window.show();
    return application.exec();
}
