#include "controls/QtBridge.h"

#include <QStringDecoder>

namespace korvana {

SystemColours SystemColoursFrom(const QPalette& palette) {
    SystemColours c;
    c.face = ToRgb(palette.color(QPalette::Active, QPalette::Button));
    c.shadow = ToRgb(palette.color(QPalette::Active, QPalette::Dark));
    c.darkShadow = ToRgb(palette.color(QPalette::Active, QPalette::Shadow));
    c.light = ToRgb(palette.color(QPalette::Active, QPalette::Midlight));
    c.buttonHighlight = ToRgb(palette.color(QPalette::Active, QPalette::Light));
    c.buttonText = ToRgb(palette.color(QPalette::Active, QPalette::ButtonText));
    c.greyText = ToRgb(palette.color(QPalette::Disabled, QPalette::WindowText));
    c.highlight = ToRgb(palette.color(QPalette::Active, QPalette::Highlight));
    c.highlightText = ToRgb(palette.color(QPalette::Active, QPalette::HighlightedText));
    c.menu = ToRgb(palette.color(QPalette::Active, QPalette::Window));
    c.menuText = ToRgb(palette.color(QPalette::Active, QPalette::WindowText));
    return c;
}

QString TextFromBytes(std::string_view bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError()) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    return text;
}

}  // namespace korvana
