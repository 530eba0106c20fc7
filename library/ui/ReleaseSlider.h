#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <functional>

namespace korvana {

// A horizontal slider that reports where the user let go of it: after a
// drag, a click on its groove, or a key that moved it. The player acts on
// releases only, so that a drag does not seek at every step. A click on the
// groove puts the handle where the click was, as people expect of a seek
// bar, rather than one page step towards it.
class ReleaseSlider : public QSlider {
  public:
    explicit ReleaseSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

    void OnRelease(std::function<void(int)> released) { released_ = std::move(released); }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && !OnHandle(event->position().toPoint())) {
            setValue(ValueAt(event->position().toPoint().x()));
        }
        QSlider::mousePressEvent(event);
    }
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
    QRect HandleRect() const {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }
    bool OnHandle(const QPoint& point) const { return HandleRect().contains(point); }
    int ValueAt(int x) const {
        const int handle = HandleRect().width();
        return QStyle::sliderValueFromPosition(minimum(), maximum(), x - handle / 2,
                                               std::max(1, width() - handle));
    }
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
