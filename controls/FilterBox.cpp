#include "controls/FilterBox.h"

#include <QKeyEvent>

namespace korvana {

FilterBox::FilterBox(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Filter"));
    setClearButtonEnabled(true);
    setAccessibleName(QStringLiteral("Filter"));
}

void FilterBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace korvana
