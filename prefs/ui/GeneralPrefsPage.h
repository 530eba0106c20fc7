#pragma once

#include <QWidget>

#include <array>

#include "prefs/CoreOptionPages.h"

class QLineEdit;

namespace korvana {

class CoreOptionsPort;
class DialogUnits;

// The "General" page: the four transfer limits, filled from the options the
// core has reported when the page is built.
class GeneralPrefsPage : public QWidget {
    Q_OBJECT
  public:
    GeneralPrefsPage(const CoreOptionsPort& core, const DialogUnits& units,
                     QWidget* parent = nullptr);

    // The boxes' texts as they stand, for Save.
    GeneralFields Fields() const;

  private:
    GeneralFields filled_;
    std::array<QLineEdit*, kLimitCount> edits_{};
};

}  // namespace korvana
