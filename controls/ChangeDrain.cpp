#include "controls/ChangeDrain.h"

#include <algorithm>

namespace korvana {

ChangeDrain::ChangeDrain(std::function<void()> drain, std::chrono::milliseconds minGap,
                         QObject* parent)
    : QObject(parent), drain_(std::move(drain)), minGap_(minGap) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &ChangeDrain::DrainNow);
}

void ChangeDrain::OnChangesWaiting() {
    QMetaObject::invokeMethod(this, &ChangeDrain::Schedule, Qt::QueuedConnection);
}

void ChangeDrain::Schedule() {
    const auto gap = std::max<std::chrono::steady_clock::duration>(minGap_, 2 * lastCost_);
    const auto since = std::chrono::steady_clock::now() - last_;
    const auto wait = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(gap - since),
                               std::chrono::milliseconds(0));
    // A drain due within a twentieth of the gap runs now: changes that come
    // about once a gap would otherwise wake the thread twice, for the notice
    // and again for a timer a few milliseconds later.
    if (std::chrono::duration_cast<std::chrono::milliseconds>(wait * 20) <= gap) {
        DrainNow();
        return;
    }
    if (timer_.isActive() && timer_.remainingTimeAsDuration() <= wait) {
        return;
    }
    timer_.start(wait);
}

void ChangeDrain::DrainAfter(std::chrono::milliseconds delay) {
    if (timer_.isActive() && timer_.remainingTimeAsDuration() <= delay) {
        return;
    }
    timer_.start(delay);
}

void ChangeDrain::DrainNow() {
    timer_.stop();
    last_ = std::chrono::steady_clock::now();
    drain_();
    lastCost_ = std::chrono::steady_clock::now() - last_;
}

}  // namespace korvana
