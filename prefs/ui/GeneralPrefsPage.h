#pragma once

#include <QWidget>

#include <array>

#include "prefs/CoreOptionPages.h"

class QLineEdit;

namespace korvana {

class CoreOptionsPort;
class DialogUnits;

// The "General" page: the four transfer limits, filled from the options the
// core has reported when the page is built. A limit the core has not
// reported is disabled, and while it has reported none the page says that
// it is not connected. The boxes take digits only.
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
