#pragma once

#include <QObject>
#include <QTimer>

#include "core/CoreLinkListener.h"

namespace korvana {

class CoreLink;

// Carries the core link's news from its thread to the GUI thread: after
// every log-in it (re)starts the five-second poll of the core, when the
// link goes down it stops the poll, and it tells the window after every
// client-statistics message and every change of the link.
class CoreLinkBridge final : public QObject, public CoreLinkListener {
    Q_OBJECT
  public:
    explicit CoreLinkBridge(CoreLink& link, QObject* parent = nullptr);

    void OnLoggedIn() override;
    void OnClientStats() override;
    void OnLinkDown() override;
    void OnLoginRefused() override;

    bool IsPolling() const { return pollTimer_.isActive(); }

  signals:
    void ClientStatsArrived();
    // The link logged in (`up`) or went down.
    void LinkChanged(bool up);

  private:
    CoreLink& link_;
    QTimer pollTimer_;
};

}  // namespace korvana
