#pragma once

#include <QDialog>

namespace korvana {

// The one top-level window: caption "Korvana MP3 Finder".
class MainWindow : public QDialog {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace korvana
