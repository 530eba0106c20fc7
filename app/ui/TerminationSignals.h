#pragma once

#include <QObject>

class QSocketNotifier;

namespace korvana {

// Turns SIGINT and SIGTERM into a Qt signal on the GUI thread, so that they
// run the same close sequence as File > Exit (the core is told to stop).
class TerminationSignals : public QObject {
    Q_OBJECT
  public:
    // Catches the signals from here on; ones that arrive before the object
    // exists wait in a pipe and are delivered once it does. Call it first
    // thing, before the application object.
    static void InstallHandlers();

    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  signals:
    void Received();

  private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace korvana
