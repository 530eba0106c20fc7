#include "transfers/ui/ProgressCellDelegate.h"

#include <QApplication>
#include <QPainter>

#include "controls/ProgressBarPainter.h"

namespace korvana {
namespace {

ProgressBarLook TransferBarLook() {
    ProgressBarLook look;
    look.colours.start = Rgb{255, 0, 0};
    look.colours.end = Rgb{0, 0, 255};
    look.colours.background = Rgb{255, 255, 255};
    look.colours.text = Rgb{0, 193, 0};
    look.showText = true;
    return look;
}

}  // namespace

ProgressCellDelegate::ProgressCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QRect ProgressCellDelegate::BarRect(const QRect& cell) {
    return QRect(cell.left(), cell.top() + 1, cell.width() - 4, cell.height() - 2);
}

void ProgressCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // The cell's own background and selection first, without text.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

    const QString percent = index.data().toString();
    static const ProgressBarLook kLook = TransferBarLook();
    ProgressBarLook look = kLook;
    ProgressRange range;
    range.SetRange(0, 100);
    bool known = false;
    range.SetPosition(percent.toInt(&known));
    look.showText = known;
    painter->save();
    QFont font = painter->font();
    font.setBold(true);
    painter->setFont(font);
    PaintProgressBar(*painter, BarRect(option.rect), range, look,
                     option.palette.color(QPalette::Button));
    painter->restore();
}

}  // namespace korvana
