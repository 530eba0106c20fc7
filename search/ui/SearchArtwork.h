#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

namespace korvana {

// The search page's pictures, drawn by the program.

// The status column's image list, 16 by 16: 0 a web result waiting for its
// size, 1 a web result whose size is known, 2 a failed web result, 3 a core
// result, 4 a result whose file is in the Library, 5 one in the transfer
// list.
QList<QPixmap> StatusImages();

QIcon DownloadSelectedIcon();
QIcon FindNextIcon();
// The remove-search button, normal and pressed.
QIcon RemoveSearchIcon(bool pressed);
// The page's picture beside the download button.
QPixmap SearchPicture();

}  // namespace korvana
