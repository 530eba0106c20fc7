#include "controls/ProgressGradient.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvana {
namespace {

// A range whose upper end is 0 has no meaningful fraction; it shows empty
// rather than dividing by zero.
double Fraction(int position, int upper) {
    return upper == 0 ? 0.0 : static_cast<double>(position) / upper;
}

std::uint8_t Channel(int start, double increment, int band) {
    return static_cast<std::uint8_t>(static_cast<int>(start + band * increment));
}

// Fills bands until the first one whose right edge lies beyond `filled`;
// returns where the background begins.
int AddBands(const ProgressColours& colours, int width, double filled,
             std::vector<ProgressBand>& bands) {
    const int dr = colours.end.r - colours.start.r;
    const int dg = colours.end.g - colours.start.g;
    const int db = colours.end.b - colours.start.b;
    const int n = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
    if (n == 0) {
        return 0;
    }
    const double bandWidth = static_cast<double>(width) / n;
    const double ir = static_cast<double>(dr) / n;
    const double ig = static_cast<double>(dg) / n;
    const double ib = static_cast<double>(db) / n;
    for (int i = 0; i < n; ++i) {
        const int left = static_cast<int>(i * bandWidth);
        // (i + 1) * bandWidth can fall a hair short of the width for the
        // last band; the gradient always reaches the right edge.
        const int right = i + 1 == n ? width : static_cast<int>((i + 1) * bandWidth);
        bands.push_back(
            ProgressBand{left, right,
                         Rgb{Channel(colours.start.r, ir, i), Channel(colours.start.g, ig, i),
                             Channel(colours.start.b, ib, i)}});
        if (filled < right) {
            return right;
        }
    }
    return width;
}

}  // namespace

void ProgressRange::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    position_ = lower;
}

std::string ProgressText(int position, int upper) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f%%", Fraction(position, upper) * 100.0);
    return text;
}

ProgressFrame LayOutProgress(const ProgressRange& range, const ProgressColours& colours, int width,
                             bool showText) {
    ProgressFrame frame;
    if (range.Position() < range.Lower()) {
        frame.belowLower = true;
        return frame;
    }
    const double filled = Fraction(range.Position(), range.Upper()) * width;
    if (filled > 0) {
        frame.backgroundFrom = AddBands(colours, width, filled, frame.bands);
    }
    if (showText) {
        frame.text = ProgressText(range.Position(), range.Upper());
    }
    return frame;
}

}  // namespace korvana
