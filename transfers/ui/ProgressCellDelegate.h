#pragma once

#include <QStyledItemDelegate>

namespace korvana {

// Draws a gradient progress bar with its percentage in one column of a list,
// in every row that is painted (the visible ones), from the percentage
// text of another column. An empty percentage (size not known yet) draws an
// empty bar without text.
class ProgressCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    ProgressCellDelegate(int percentColumn, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Where the bar of a cell goes: the cell less 4 pixels of width and one
    // pixel at the top and the bottom.
    static QRect BarRect(const QRect& cell);

  private:
    int percentColumn_;
};

}  // namespace korvana
