#pragma once

#include <QObject>
#include <QTimer>

#include "core/CoreLinkListener.h"

namespace korvana {

class CoreLink;

// Carries the core link's news from its thread to the GUI thread: after
// every log-in it (re)starts the five-second poll of the core, and after
// every client-statistics message it tells the window to refresh the status
// row.
class CoreLinkBridge final : public QObject, public CoreLinkListener {
    Q_OBJECT
  public:
    explicit CoreLinkBridge(CoreLink& link, QObject* parent = nullptr);

    void OnLoggedIn() override;
    void OnClientStats() override;

    bool IsPolling() const { return pollTimer_.isActive(); }

  signals:
    void ClientStatsArrived();

  private:
    CoreLink& link_;
    QTimer pollTimer_;
};

}  // namespace korvana
