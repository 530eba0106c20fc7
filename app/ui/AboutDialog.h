#pragma once

#include <QDialog>

namespace korvana {

// "About Korvana MP3 Finder": the icon, the version line, the rights notice,
// the legal warning and the credit to the P2P engine.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace korvana
