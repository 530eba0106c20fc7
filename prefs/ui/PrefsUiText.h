#pragma once

#include <QString>

#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QRect;
class QWidget;

namespace korvana {

// Texts of the preferences pages. The core's values and folder paths are
// bytes; they are shown as UTF-8 when they are valid UTF-8 and as Latin-1
// otherwise, and a box the user has not changed gives back the very bytes
// it was filled with, so a value the core sent is never re-encoded.

QString ShownText(const std::string& bytes);

// The bytes for `typed`: `filled` when the box still shows it, else UTF-8.
std::string TypedBytes(const QString& typed, const std::string& filled);

// A fixed text of the pages (ASCII).
QString FixedText(std::string_view text);

// A label at `rect` of `page`. When the desktop's font needs more room than
// the layout gives, the label grows away from the control it names: to the
// left when it is right-aligned (it stands before a box), else to the right.
QLabel* AddLabel(QWidget& page, std::string_view text, const QRect& rect,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// Makes `box` take digits only (at most kMaxNumberDigits of them) as they are
// typed or pasted; whether the number is in range is checked on Save.
void AcceptDigitsOnly(QLineEdit& box);

}  // namespace korvana
