#pragma once

#include <QList>
#include <QPixmap>

namespace korvana {

// The column header pictures of every sortable list, 16 by 16: 0 an
// unsorted column, 1 descending, 2 ascending. One set, so that the search
// results and the library show the sort the same way.
QList<QPixmap> SortHeaderImages();

}  // namespace korvana
