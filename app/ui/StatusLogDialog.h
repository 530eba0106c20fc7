#pragma once

#include <QDialog>

class QListWidget;

namespace korvana {

class StatusLog;

// "Debug Status Messages": the core link's status lines as they come, for
// whoever needs to watch the connection. Opened with Ctrl+Shift+D; the
// same lines always go to korvana.log as well.
class StatusLogDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StatusLogDialog(QWidget* parent = nullptr);

    // Shows every later line of `log`; lines from other threads are queued.
    void Watch(StatusLog& log);
    int LineCount() const;

  private:
    void AddLine(const QString& line);

    QListWidget* lines_;
};

}  // namespace korvana
