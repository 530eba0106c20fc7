#pragma once

#include <QList>
#include <QPixmap>
#include <chrono>

#include "controls/RowTableModel.h"
#include "search/SearchModel.h"

namespace korvana {

// The result list's table: the displayed search's rows over the search
// model, seven columns. Rows that other threads report reach it as the
// model's row steps, taken in one drain per burst, at most every
// kMinDrainGap (RowTableModel); the tab counts that changed go out with
// each drain.
class ResultTableModel final : public RowTableModel<ListedRow> {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kMinDrainGap{20};

    explicit ResultTableModel(SearchModel& model, QObject* parent = nullptr);
    ~ResultTableModel() override;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Rebuilds the list from `searchId`'s results (-1: none).
    void ShowSearch(int searchId);
    // A header click: the new sort state, then the list rebuilt.
    void SortBy(ResultColumn column);

  signals:
    // A search's count for its tab label changed.
    void ResultCountChanged(int searchId, int count);

  private:
    RowChanges<ListedRow> TakeChanges() override;

    SearchModel& model_;
    RowOrdering ordering_;
    QList<QPixmap> statusImages_;
    QList<QPixmap> headerImages_;
};

}  // namespace korvana
