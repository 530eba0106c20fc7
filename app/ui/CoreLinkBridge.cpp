#include "app/ui/CoreLinkBridge.h"

#include "core/CoreLink.h"

namespace korvana {

namespace {
constexpr int kPollIntervalMs = 5000;
}

CoreLinkBridge::CoreLinkBridge(CoreLink& link, QObject* parent) : QObject(parent), link_(link) {
    pollTimer_.setInterval(kPollIntervalMs);
    connect(&pollTimer_, &QTimer::timeout, this, [this] { link_.PollTick(); });
}

void CoreLinkBridge::OnLoggedIn() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            pollTimer_.start();
            emit LinkChanged(true);
        },
        Qt::QueuedConnection);
}

void CoreLinkBridge::OnLinkDown() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            pollTimer_.stop();
            emit LinkChanged(false);
        },
        Qt::QueuedConnection);
}

// The status row reads the refusal from the link; a change of the link
// makes it look.
void CoreLinkBridge::OnLoginRefused() {
    QMetaObject::invokeMethod(
        this, [this] { emit LinkChanged(false); }, Qt::QueuedConnection);
}

void CoreLinkBridge::OnClientStats() {
    QMetaObject::invokeMethod(
        this, [this] { emit ClientStatsArrived(); }, Qt::QueuedConnection);
}

}  // namespace korvana
