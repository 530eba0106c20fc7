#include "transfers/ui/TextTableModel.h"

#include "controls/QtBridge.h"
#include "core/DisplayText.h"

namespace korvana {

TextTableModel::TextTableModel(TextTable& table, std::vector<TextColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
    table_.SetObserver(this);
}

TextTableModel::~TextTableModel() {
    table_.SetObserver(nullptr);
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.RowCount());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return TextFromBytes(
                DisplayText(table_.Cell(static_cast<std::size_t>(index.row()), column)));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(columns_[column].alignment);
        default:
            return {};
    }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size())) {
        return {};
    }
    const TextColumn& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return column.title;
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(column.alignment);
    }
    return {};
}

void TextTableModel::RowsAboutToBeAppended(std::size_t first, std::size_t last) {
    beginInsertRows(QModelIndex(), static_cast<int>(first), static_cast<int>(last));
}

void TextTableModel::RowsAppended() {
    endInsertRows();
}

void TextTableModel::RowsAboutToBeRemoved(std::size_t first, std::size_t last) {
    beginRemoveRows(QModelIndex(), static_cast<int>(first), static_cast<int>(last));
}

void TextTableModel::RowsRemoved() {
    endRemoveRows();
}

void TextTableModel::CellsChanged(std::size_t firstRow, std::size_t lastRow,
                                  std::size_t firstColumn, std::size_t lastColumn) {
    emit dataChanged(index(static_cast<int>(firstRow), static_cast<int>(firstColumn)),
                     index(static_cast<int>(lastRow), static_cast<int>(lastColumn)),
                     {Qt::DisplayRole, Qt::ToolTipRole});
}

}  // namespace korvana
