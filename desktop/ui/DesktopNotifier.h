#pragma once

#include <QDBusConnection>

#include "services/DownloadNotices.h"

namespace korvana {

// Shows notices through the desktop's notification service
// (org.freedesktop.Notifications on the session bus). The call is sent
// without waiting for its answer, so a slow or missing service never holds
// the GUI thread; without a session bus nothing is shown.
class DesktopNotifier {
  public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";

    explicit DesktopNotifier(QDBusConnection bus) : bus_(std::move(bus)) {}

    void Show(const DesktopNotice& notice);

  private:
    QDBusConnection bus_;
};

}  // namespace korvana
