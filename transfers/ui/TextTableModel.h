#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "transfers/TextTable.h"

namespace korvana {

// One column of a list: its title and how its texts are aligned.
struct TextColumn {
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A table view's model over a TextTable: it shows the table's texts and
// passes the table's changes on as they are committed, so rows arrive in
// one insertion per refresh and only changed cells are repainted.
class TextTableModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
  public:
    TextTableModel(TextTable& table, std::vector<TextColumn> columns, QObject* parent = nullptr);
    ~TextTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    void RowsAboutToBeAppended(std::size_t first, std::size_t last) override;
    void RowsAppended() override;
    void RowsAboutToBeRemoved(std::size_t first, std::size_t last) override;
    void RowsRemoved() override;
    void CellsChanged(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                      std::size_t lastColumn) override;

    TextTable& table_;
    std::vector<TextColumn> columns_;
};

}  // namespace korvana
