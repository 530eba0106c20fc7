#pragma once

#include <vector>

#include "controls/Geometry.h"

namespace korvana {

// Which tab is under the cursor, kept current by mouse moves and by a short
// timer that notices when the cursor has left without a move over the strip.
class TabHoverTracker {
  public:
    int Hovered() const { return hovered_; }
    bool TimerRunning() const { return timerRunning_; }

    // Drawing a tab that contains the cursor makes it the hovered tab.
    void NoteDrawn(int tab, bool cursorInside);

    struct MoveResult {
        bool restartTimer = true;
        int redrawTab = -1;  // -1: nothing to redraw
    };
    // `tabRects` in strip coordinates; `enabled` tells which tabs may hover.
    MoveResult MouseMove(Point cursor, const std::vector<Rect>& tabRects,
                         const std::vector<bool>& enabled);

    // Reports whether the timer stopped (the strip's tab area is redrawn).
    bool TimerTick(Point cursor, const std::vector<Rect>& tabRects);

  private:
    int hovered_ = -1;
    bool timerRunning_ = false;
};

int TabAt(const std::vector<Rect>& tabRects, Point p);

}  // namespace korvana
