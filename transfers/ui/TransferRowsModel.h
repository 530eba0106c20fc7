#pragma once

#include <QString>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/QtBridge.h"
#include "controls/RowTableModel.h"
#include "core/DisplayText.h"

namespace korvana {

// One column of a transfers list: its title and how its texts are aligned.
struct TransferColumn {
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A transfers list's model: the view's copy of the board's rows, brought
// along by the steps each refresh of the board queues. The page runs the
// refreshes and drains the models right after each one.
template <typename Row>
class TransferRowsModel final : public RowTableModel<Row> {
  public:
    // The text of a row's cell in a column.
    using CellText = std::string (*)(const Row&, std::size_t column);

    TransferRowsModel(std::vector<TransferColumn> columns, CellText cell,
                      std::function<RowChanges<Row>()> take, QObject* parent)
        : RowTableModel<Row>(std::chrono::milliseconds(0), parent),
          columns_(std::move(columns)),
          cell_(cell),
          take_(std::move(take)) {}

    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        using Check = QAbstractItemModel::CheckIndexOption;
        if (!this->checkIndex(index, Check::IndexIsValid | Check::ParentIsInvalid)) {
            return {};
        }
        const auto column = static_cast<std::size_t>(index.column());
        switch (role) {
            case Qt::DisplayRole:
            case Qt::ToolTipRole:
                return TextFromBytes(DisplayText(cell_(this->RowAt(index.row()), column)));
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(columns_[column].alignment);
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override {
        if (orientation != Qt::Horizontal || section < 0 ||
            section >= static_cast<int>(columns_.size())) {
            return {};
        }
        const TransferColumn& column = columns_[static_cast<std::size_t>(section)];
        if (role == Qt::DisplayRole) {
            return column.title;
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(column.alignment);
        }
        return {};
    }

  protected:
    RowChanges<Row> TakeChanges() override { return take_(); }

  private:
    std::vector<TransferColumn> columns_;
    CellText cell_;
    std::function<RowChanges<Row>()> take_;
};

}  // namespace korvana
