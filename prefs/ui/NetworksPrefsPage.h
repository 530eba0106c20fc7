#pragma once

#include <QWidget>

#include <array>

#include "prefs/CoreOptionPages.h"

class QComboBox;
class QLineEdit;

namespace korvana {

class CoreOptionsPort;
class DialogUnits;

// The "Networks" page: for each of the eight networks a TRUE/FALSE
// drop-down and its port, filled from the options the core has reported
// when the page is built. What the core did not report is disabled: a
// network or port it does not have is marked as such, and while it has
// reported nothing the page says that it is not connected.
class NetworksPrefsPage : public QWidget {
    Q_OBJECT
  public:
    NetworksPrefsPage(const CoreOptionsPort& core, const DialogUnits& units,
                      QWidget* parent = nullptr);

    // The drop-downs' selections and the ports' texts as they stand, for Save.
    NetworkFields Fields() const;

  private:
    void AddAvailabilityNote(const DialogUnits& units, const NetworkFieldValues& values, int y);

    NetworkFields filled_;
    std::array<QComboBox*, kNetworkCount> dropDowns_{};
    std::array<QLineEdit*, kNetworkCount> ports_{};
};

}  // namespace korvana
