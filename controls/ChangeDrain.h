#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "util/RowChanges.h"

namespace korvana {

// Paces the drains of one changing list. A notice, from any thread, posts
// one drain to the GUI thread; a drain runs at once, or when `minGap`, or
// twice what the last drain cost if that is longer, has passed since the
// last one. A flood of changes is thus applied in batches, the view
// repaints a few dozen times a second at most, and a long list leaves the
// GUI thread at least two thirds of its time for the user. Nothing runs
// while nothing changes.
class ChangeDrain final : public QObject, public ChangeListener {
    Q_OBJECT
  public:
    ChangeDrain(std::function<void()> drain, std::chrono::milliseconds minGap,
                QObject* parent = nullptr);

    // Any thread.
    void OnChangesWaiting() override;
    // GUI thread: drains now, whatever the pacing says.
    void DrainNow();
    // GUI thread: drains once `delay` has passed, unless a drain is due
    // sooner; for lists whose rows change with time alone.
    void DrainAfter(std::chrono::milliseconds delay);

  private:
    void Schedule();

    std::function<void()> drain_;
    const std::chrono::milliseconds minGap_;
    QTimer timer_;
    std::chrono::steady_clock::time_point last_;
    std::chrono::steady_clock::duration lastCost_{};
};

}  // namespace korvana
