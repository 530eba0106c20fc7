#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

namespace korvana {

// Watches every key press of the program, dialogs included: Escape closes a
// dialog but is swallowed in the main window (an open drawn menu still
// takes it), Enter presses the push button that has the focus, and F2, F3
// and F4 choose a page once per press, then go on as usual.
class KeyFilter : public QObject {
    Q_OBJECT
  public:
    explicit KeyFilter(std::function<void(int page)> showPage, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsPropagationOfLastPress(QObject* watched, QEvent* event) const;

    std::function<void(int)> showPage_;
    const QEvent* lastEvent_ = nullptr;
    QPointer<QObject> lastReceiver_;
};

}  // namespace korvana
