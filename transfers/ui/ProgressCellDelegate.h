#pragma once

#include <QStyledItemDelegate>

namespace korvana {

// Draws a gradient progress bar with its percentage in one column of a list,
// in every row that is painted (the visible ones), from the cell's own
// percentage text: the view repaints the cell whenever that text changes.
// An empty percentage (size not known yet) draws an empty bar without text.
class ProgressCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit ProgressCellDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Where the bar of a cell goes: the cell less 4 pixels of width and one
    // pixel at the top and the bottom.
    static QRect BarRect(const QRect& cell);
};

}  // namespace korvana
