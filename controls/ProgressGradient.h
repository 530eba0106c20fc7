#pragma once

#include <string>
#include <vector>

#include "controls/Colour.h"

namespace korvana {

// Range and position of a gradient progress bar.
class ProgressRange {
  public:
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int Step() const { return step_; }
    int Position() const { return position_; }

    // Also moves the position to the lower end.
    void SetRange(int lower, int upper);
    void SetPosition(int position) { position_ = position; }
    void SetStep(int step) { step_ = step; }
    void StepIt() { position_ += step_; }

  private:
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    int position_ = 0;
};

struct ProgressColours {
    Rgb start{255, 0, 0};
    Rgb end{0, 0, 255};
    Rgb background;  // the bar's unfilled part; the owner sets the face colour
    Rgb text{255, 255, 255};
};

// One filled column range [left, right) in one colour.
struct ProgressBand {
    int left = 0;
    int right = 0;
    Rgb colour;
};

// What one frame of the bar shows.
struct ProgressFrame {
    bool belowLower = false;  // face colour only, no text
    std::vector<ProgressBand> bands;
    int backgroundFrom = 0;  // the background covers [backgroundFrom, width)
    std::string text;        // empty when the text is off
};

// The gradient runs across the whole width in as many bands as the largest
// channel difference; the filled part ends on the first band that reaches
// past the position, so a column's colour never depends on the position.
ProgressFrame LayOutProgress(const ProgressRange& range, const ProgressColours& colours, int width,
                             bool showText);

// The percentage as the bar writes it, e.g. "40%".
std::string ProgressText(int position, int upper);

}  // namespace korvana
