#include "controls/TabHover.h"

namespace korvana {

int TabAt(const std::vector<Rect>& tabRects, Point p) {
    for (std::size_t i = 0; i < tabRects.size(); ++i) {
        if (tabRects[i].Contains(p)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TabHoverTracker::NoteDrawn(int tab, bool cursorInside) {
    if (cursorInside) {
        hovered_ = tab;
    }
}

TabHoverTracker::MoveResult TabHoverTracker::MouseMove(Point cursor,
                                                       const std::vector<Rect>& tabRects,
                                                       const std::vector<bool>& enabled) {
    MoveResult result;
    if (hovered_ >= static_cast<int>(tabRects.size())) {
        hovered_ = -1;
    }
    const bool hoveredValid = hovered_ >= 0 && hovered_ < static_cast<int>(tabRects.size());
    if (hoveredValid && !tabRects[static_cast<std::size_t>(hovered_)].Contains(cursor)) {
        result.redrawTab = hovered_;
        hovered_ = -1;
        return result;
    }
    if (!timerRunning_) {
        timerRunning_ = true;
        const int tab = TabAt(tabRects, cursor);
        if (tab >= 0 && tab < static_cast<int>(enabled.size()) &&
            enabled[static_cast<std::size_t>(tab)]) {
            // The redraw finds the cursor inside the tab and hovers it.
            result.redrawTab = tab;
            hovered_ = tab;
        }
    }
    return result;
}

bool TabHoverTracker::TimerTick(Point cursor, const std::vector<Rect>& tabRects) {
    const bool hoveredValid = hovered_ >= 0 && hovered_ < static_cast<int>(tabRects.size());
    if (hoveredValid && tabRects[static_cast<std::size_t>(hovered_)].Contains(cursor)) {
        return false;
    }
    timerRunning_ = false;
    hovered_ = -1;
    return true;
}

}  // namespace korvana
