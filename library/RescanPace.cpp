#include "library/RescanPace.h"

namespace korvana {

std::chrono::milliseconds RescanPace::ScanDone(bool changed) {
    if (changed) {
        unchanged_ = 0;
    } else if (!Quiet()) {
        ++unchanged_;
    }
    return Quiet() ? timing_.quiet : timing_.busy;
}

// The change may show only at the scan after next (a folder whose time
// stamp had not settled), so the count starts again.
std::chrono::milliseconds RescanPace::FolderChanged() {
    const bool wasQuiet = Quiet();
    unchanged_ = 0;
    return wasQuiet ? timing_.wake : timing_.busy;
}

// A timer as long as the quiet pace may fire a little early; a tenth of it
// is allowed for, so that each quiet scan still looks at every file.
bool RescanPace::EveryFileDue(std::chrono::steady_clock::time_point now) {
    if (lastEveryFile_ && now - *lastEveryFile_ < timing_.quiet - timing_.quiet / 10) {
        return false;
    }
    lastEveryFile_ = now;
    return true;
}

}  // namespace korvana
