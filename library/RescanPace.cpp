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

}  // namespace korvana
