#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <functional>

namespace korvana {

// A horizontal slider that reports where the user let go of it: after a
// drag, a click on its groove, or a key that moved it. The player acts on
// releases only, so that a drag does not seek at every step.
class ReleaseSlider : public QSlider {
  public:
    explicit ReleaseSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

    void OnRelease(std::function<void(int)> released) { released_ = std::move(released); }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QSlider::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton || event->button() == Qt::MiddleButton) {
            Report();
        }
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QSlider::keyReleaseEvent(event);
        if (!event->isAutoRepeat() && MovesSlider(event->key())) {
            Report();
        }
    }

  private:
    static bool MovesSlider(int key) {
        switch (key) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                return true;
            default:
                return false;
        }
    }
    void Report() {
        if (released_) {
            released_(value());
        }
    }

    std::function<void(int)> released_;
};

}  // namespace korvana
