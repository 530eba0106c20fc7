#include <gtest/gtest.h>
#include <QApplication>

// The desktop tests need one QApplication for the whole run and no display;
// the bus tests run on the private session bus of dbus-run-session.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
