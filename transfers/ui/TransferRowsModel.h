#pragma once

#include <QIcon>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/QtBridge.h"
#include "controls/RowTableModel.h"
#include "controls/SortHeaderImages.h"
#include "core/DisplayText.h"
#include "transfers/TransferSort.h"

namespace korvana {

// One column of a transfers list: its title and how its texts are aligned.
struct TransferColumn {
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// What a transfers list's model shows of its rows: the text and the
// tooltip of a row's cell in a column, and the list's sort.
template <typename Row>
struct TransferRowTexts {
    using CellText = std::string (*)(const Row&, std::size_t column);
    CellText cell;
    CellText tip;
    const ListSort* sort;
};

// A transfers list's model: the view's copy of the board's rows, brought
// along by the steps each refresh of the board queues. The page runs the
// refreshes and drains the models right after each one. The headers show
// the sort with the program's sort header images.
template <typename Row>
class TransferRowsModel final : public RowTableModel<Row> {
  public:
    TransferRowsModel(std::vector<TransferColumn> columns, TransferRowTexts<Row> texts,
                      std::function<RowChanges<Row>()> take, QObject* parent)
        : RowTableModel<Row>(std::chrono::milliseconds(0), parent),
          columns_(std::move(columns)),
          texts_(texts),
          take_(std::move(take)) {
        const QList<QPixmap> images = SortHeaderImages();
        for (std::size_t i = 0; i < headerImages_.size(); ++i) {
            headerImages_[i] = QIcon(images.value(static_cast<qsizetype>(i)));
        }
    }

    // After the sort changed: the headers show it.
    void SortChanged() {
        emit this->headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
    }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
        using Check = QAbstractItemModel::CheckIndexOption;
        if (!this->checkIndex(index, Check::IndexIsValid | Check::ParentIsInvalid)) {
            return {};
        }
        const auto column = static_cast<std::size_t>(index.column());
        const Row& row = this->RowAt(index.row());
        switch (role) {
            case Qt::DisplayRole:
                return TextFromBytes(DisplayText(texts_.cell(row, column)));
            case Qt::ToolTipRole:
                return TextFromBytes(DisplayText(texts_.tip(row, column)));
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
        if (role == Qt::DecorationRole) {
            const auto image = texts_.sort->Image(static_cast<std::size_t>(section));
            return headerImages_[static_cast<std::size_t>(image)];
        }
        return {};
    }

  protected:
    RowChanges<Row> TakeChanges() override { return take_(); }

  private:
    std::vector<TransferColumn> columns_;
    TransferRowTexts<Row> texts_;
    std::array<QIcon, 3> headerImages_;
    std::function<RowChanges<Row>()> take_;
};

}  // namespace korvana
