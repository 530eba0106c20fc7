#pragma once

#include <QDialog>
#include <QTimer>

#include <string>

class QProgressBar;

namespace korvana {

// Shown while the core is being stopped: two fixed lines and a bar that
// fills in five seconds and starts again from the left. With the address of
// a core that is not ours, the lines say that it keeps running instead.
class ShutdownDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ShutdownDialog(const std::string& remoteCoreAddress = {}, QWidget* parent = nullptr);

    int BarPosition() const;
    // One tick of the 50 ms timer; public so tests can drive it.
    void Tick();

  private:
    QProgressBar* bar_;
    QTimer timer_;
    int counter_ = 0;
};

}  // namespace korvana
