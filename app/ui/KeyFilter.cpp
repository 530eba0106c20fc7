#include "app/ui/KeyFilter.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

#include "app/MainLayout.h"
#include "controls/FilterBox.h"

namespace korvana {

namespace {

Key KeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Escape:
            return Key::Escape;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Key::Enter;
        case Qt::Key_F2:
            return Key::F2;
        case Qt::Key_F3:
            return Key::F3;
        case Qt::Key_F4:
            return Key::F4;
        default:
            return Key::Other;
    }
}

// The shutdown dialog shows work under way; Escape must not hide it.
constexpr const char* kKeptOnEscape[] = {"IDD_SHUTDOWN"};

KeyTarget TargetOf(QObject* watched) {
    KeyTarget target;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return target;
    }
    const QWidget* window = widget->window();
    target.inClosableDialog = qobject_cast<const QDialog*>(window) != nullptr;
    for (const char* name : kKeptOnEscape) {
        if (window->objectName() == QLatin1String(name)) {
            target.inClosableDialog = false;
        }
    }
    auto* button = qobject_cast<QPushButton*>(widget);
    target.onButton = button != nullptr && button->hasFocus() && button->isEnabled();
    return target;
}

}  // namespace

// A press that its receiver ignores travels on to the receiver's parents and
// passes the filter again each time: the same event object, now at an
// ancestor of the first receiver. Only its first passage counts.
bool KeyFilter::IsPropagationOfLastPress(QObject* watched, QEvent* event) const {
    if (event != lastEvent_ || lastReceiver_.isNull() || watched == lastReceiver_) {
        return false;
    }
    for (QObject* ancestor = lastReceiver_->parent(); ancestor; ancestor = ancestor->parent()) {
        if (ancestor == watched) {
            return true;
        }
    }
    return false;
}

KeyFilter::KeyFilter(std::function<void(int page)> showPage, QObject* parent)
    : QObject(parent), showPage_(std::move(showPage)) {}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    // A key from the window system passes here twice: first at the window's
    // handle, then at the focused widget. Only the widget's passage says
    // where the key was typed.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        IsPropagationOfLastPress(watched, event)) {
        return QObject::eventFilter(watched, event);
    }
    lastEvent_ = event;
    lastReceiver_ = watched;
    const auto* key = static_cast<QKeyEvent*>(event);
    const KeyAction action = ClassifyKey(KeyOf(key->key()), key->isAutoRepeat(), TargetOf(watched));
    switch (action) {
        case KeyAction::Swallow: {
            // A filter box with words in it empties itself on Escape.
            const auto* box = dynamic_cast<const FilterBox*>(watched);
            return QApplication::activePopupWidget() == nullptr &&
                   (box == nullptr || box->text().isEmpty());
        }
        case KeyAction::PressButton:
            static_cast<QPushButton*>(watched)->click();
            return true;
        case KeyAction::ShowSearch:
            showPage_(0);
            break;
        case KeyAction::ShowTransfers:
            showPage_(1);
            break;
        case KeyAction::ShowLibrary:
            showPage_(2);
            break;
        case KeyAction::None:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvana
