#pragma once

#include <QWidget>

#include <array>

#include "prefs/CoreOptionPages.h"

class QCheckBox;
class QLineEdit;

namespace korvana {

class CoreOptionsPort;
class DialogUnits;

// The "General" page: the four transfer limits, filled from the options the
// core has reported when the page is built. A limit the core has not
// reported is disabled, and while it has reported none the page says that
// it is not connected. The boxes take digits only. Under them, the
// program's own choice of desktop notices for downloads that end.
class GeneralPrefsPage : public QWidget {
    Q_OBJECT
  public:
    GeneralPrefsPage(const CoreOptionsPort& core, bool downloadNotices, const DialogUnits& units,
                     QWidget* parent = nullptr);

    // The boxes' texts as they stand, for Save.
    GeneralFields Fields() const;
    bool DownloadNoticesWanted() const;

  private:
    GeneralFields filled_;
    std::array<QLineEdit*, kLimitCount> edits_{};
    QCheckBox* downloadNotices_;
};

}  // namespace korvana
