#include "prefs/ui/PrefsUiText.h"

#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "prefs/CoreOptionPages.h"

namespace korvana {

QString ShownText(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    return raw.isValidUtf8() ? QString::fromUtf8(raw) : QString::fromLatin1(raw);
}

std::string TypedBytes(const QString& typed, const std::string& filled) {
    if (typed == ShownText(filled)) {
        return filled;
    }
    return typed.toStdString();
}

QString FixedText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* AddLabel(QWidget& page, std::string_view text, const QRect& rect, Qt::Alignment alignment) {
    auto* label = new QLabel(FixedText(text), &page);
    label->setAlignment(alignment);
    QRect placed = rect;
    const int needed = label->sizeHint().width();
    if (needed > rect.width()) {
        if (alignment & Qt::AlignRight) {
            placed.setLeft(rect.right() + 1 - needed);
        } else {
            placed.setWidth(needed);
        }
    }
    label->setGeometry(placed);
    return label;
}

void AcceptDigitsOnly(QLineEdit& box) {
    const QRegularExpression digits(QStringLiteral("[0-9]{0,%1}").arg(kMaxNumberDigits));
    box.setValidator(new QRegularExpressionValidator(digits, &box));
}

}  // namespace korvana
