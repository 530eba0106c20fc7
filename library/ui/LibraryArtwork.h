#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace korvana {

// The Library page's artwork, drawn from the SVG files under
// :/res/library/ at the size each control shows it.

// Icon sizes of the small player buttons and of the captioned buttons.
inline constexpr int kSmallIconSize = 16;
inline constexpr int kLargeIconSize = 32;

// Registers the page's resources (they live in a static library); call
// before the first picture is made.
void LoadLibraryArtwork();

// A button icon of `size` pixels square, from :/res/library/<name>.svg.
QIcon LibraryIcon(const QString& name, int size);

// The volume symbol at its picture's size.
QPixmap VolumeSymbol(QSize size);

}  // namespace korvana
