#pragma once

#include <QDialog>
#include <QTimer>

#include <cstdint>

class QListView;

namespace korvana {

class StatusLog;
class StatusLogModel;

// "Debug Status Messages": the core link's newest status lines, for
// whoever needs to watch the connection. Opened with Ctrl+Shift+D; every
// line always goes to korvana.log as well. While hidden it does nothing at
// all; while shown it takes the lines written since its last look in one
// batch, at most every 100 ms.
class StatusLogDialog : public QDialog {
    Q_OBJECT
  public:
    explicit StatusLogDialog(QWidget* parent = nullptr);
    ~StatusLogDialog() override;

    // Lists the lines of `log` (which must outlive the dialog).
    void Watch(StatusLog& log);
    int LineCount() const;
    const StatusLogModel& Model() const { return *model_; }

    static constexpr int kBatchIntervalMs = 100;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void TakeNewLines();

    StatusLog* log_ = nullptr;
    StatusLogModel* model_;
    QListView* view_;
    QTimer batch_;
    std::uint64_t next_ = 0;
};

}  // namespace korvana
