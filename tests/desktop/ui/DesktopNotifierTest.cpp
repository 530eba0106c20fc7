#include "desktop/ui/DesktopNotifier.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "tests/ui/UiWait.h"

namespace korvana::test {
namespace {

// A desktop's notification service, as far as notices go: it keeps what it
// is asked to show.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    QStringList summaries;
    QStringList bodies;
    QString application;

  public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        application = app;
        summaries << summary;
        bodies << body;
        return static_cast<uint>(summaries.size());
    }
};

TEST(DesktopNotifier, NoticesReachTheDesktopsNotificationService) {
    QDBusConnection desktop =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("desktop"));
    if (!desktop.isConnected()) {
        GTEST_SKIP() << "no session bus: run under dbus-run-session";
    }
    FakeNotifications service;
    ASSERT_TRUE(desktop.registerObject(QString::fromLatin1(DesktopNotifier::kPath), &service,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(desktop.registerService(QString::fromLatin1(DesktopNotifier::kService)));

    DesktopNotifier notifier(QDBusConnection::sessionBus());
    notifier.Show({"Download finished", "Blue Hour.mp3"});
    notifier.Show({"3 downloads failed", "a.mp3\nb.mp3\nc.mp3"});
    ASSERT_TRUE(WaitUntil([&] { return service.summaries.size() == 2; }));
    EXPECT_EQ(service.application, QStringLiteral("Korvana MP3 Finder"));
    EXPECT_EQ(service.summaries, (QStringList{QStringLiteral("Download finished"),
                                              QStringLiteral("3 downloads failed")}));
    EXPECT_EQ(service.bodies.front(), QStringLiteral("Blue Hour.mp3"));

    desktop.unregisterService(QString::fromLatin1(DesktopNotifier::kService));
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
}

}  // namespace
}  // namespace korvana::test

#include "DesktopNotifierTest.moc"
