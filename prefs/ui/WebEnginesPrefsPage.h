#pragma once

#include <QWidget>
#include <vector>

#include "web/WebEngineSettings.h"

class QCheckBox;
class QLineEdit;

namespace korvana {

class DialogUnits;

// The "Web engines" page: each engine a search goes to, with a switch and
// its base address (empty: the simulated web on this computer). The choices
// take effect when the program starts again.
class WebEnginesPrefsPage : public QWidget {
    Q_OBJECT
  public:
    WebEnginesPrefsPage(std::vector<WebEngineChoice> stored, const DialogUnits& units,
                        QWidget* parent = nullptr);

    // The choices as the boxes stand, addresses trimmed and without a
    // trailing "/".
    std::vector<WebEngineChoice> Typed() const;
    // The first typed address that cannot be used, as a sentence naming its
    // engine; "" when all can. Its box takes the focus.
    std::string Problem();

  private:
    std::vector<WebEngineChoice> stored_;
    std::vector<QCheckBox*> switches_;
    std::vector<QLineEdit*> addresses_;
};

}  // namespace korvana
