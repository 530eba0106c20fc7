#pragma once

#include <QColor>
#include <QWidget>

#include "controls/ProgressBarPainter.h"
#include "controls/ProgressGradient.h"

namespace korvana {

// A progress bar whose filled part is a red-to-blue (by default) gradient
// across the whole width, uncovered from the left as the position grows,
// with the percentage written over it when asked.
class TextProgressCtrl : public QWidget {
    Q_OBJECT
  public:
    explicit TextProgressCtrl(QWidget* parent = nullptr);

    // Also moves the position to `lower`.
    void SetRange(int lower, int upper);
    void SetPosition(int position);
    void SetStep(int step);
    void StepIt();

    void SetBackgroundColour(const QColor& colour);
    void SetTextColour(const QColor& colour);
    void SetShowText(bool show);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ProgressRange range_;
    ProgressBarLook look_;
};

}  // namespace korvana
