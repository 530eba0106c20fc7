#pragma once

#include <chrono>
#include <functional>

namespace korvana::bench {

// A QApplication for benchmarks that need widgets or an event loop, on the
// offscreen platform unless one is chosen; made once per run.
void EnsureApplication();

// The longest stretch between two turns of the event loop, in wall time
// and in CPU time the GUI thread spent in it. On a loaded machine the first
// includes time the thread waited for a processor; the second is the
// thread's own work.
struct LoopGaps {
    double longestMs = 0;
    double longestBusyMs = 0;
};

// Turns the event loop until `done` holds or `patience` passes (a 1 ms
// timer fires once per turn at most) and measures the gaps between turns.
LoopGaps RunUntil(const std::function<bool()>& done, std::chrono::milliseconds patience);

}  // namespace korvana::bench
