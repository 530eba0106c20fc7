#pragma once

#include <QWidget>
#include <vector>

#include "web/WebEngineSettings.h"

class QCheckBox;
class QLineEdit;

namespace korvana {

class DialogUnits;

// The "Web engines" page: each engine a search goes to, with a switch and
// its base address (empty: the simulated web on this computer), then the
// engines of the user's definition files, whose addresses are their files',
// and what was wrong with the files that were refused. The choices take
// effect when the program starts again.
class WebEnginesPrefsPage : public QWidget {
    Q_OBJECT
  public:
    WebEnginesPrefsPage(std::vector<WebEngineChoice> stored,
                        const std::vector<std::string>& refusedFiles, const DialogUnits& units,
                        QWidget* parent = nullptr);

    // The choices as the boxes stand, addresses trimmed and without a
    // trailing "/".
    std::vector<WebEngineChoice> Typed() const;
    // The first typed address that cannot be used, as a sentence naming its
    // engine; "" when all can. Its box takes the focus.
    std::string Problem();

  private:
    void AddRow(QWidget& rows, std::size_t index);

    std::vector<WebEngineChoice> stored_;
    std::vector<QCheckBox*> switches_;
    std::vector<QLineEdit*> addresses_;
};

}  // namespace korvana
