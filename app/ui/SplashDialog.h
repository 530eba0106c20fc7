#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

namespace korvana {

// The start-up splash: a picture and one line of text that steps through
// fixed texts once a second and closes itself after about six seconds.
class SplashDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SplashDialog(QWidget* parent = nullptr);

    QString LineText() const;
    // One tick of the one-second timer; public so tests can drive it.
    void Tick();

  private:
    QLabel* line_;
    QTimer timer_;
    int ticks_ = 0;
};

}  // namespace korvana
