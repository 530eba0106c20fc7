#include "desktop/ui/DesktopNotifier.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace korvana {

void DesktopNotifier::Show(const DesktopNotice& notice) {
    if (!bus_.isConnected()) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kService), QStringLiteral("Notify"));
    // Application, replaced id, icon, summary, body, actions, hints, time
    // the notice stays (-1: the desktop's choice).
    call << QStringLiteral("Korvana MP3 Finder") << 0u << QStringLiteral("korvana")
         << QString::fromStdString(notice.summary) << QString::fromStdString(notice.body)
         << QStringList() << QVariantMap() << -1;
    bus_.send(call);
}

}  // namespace korvana
