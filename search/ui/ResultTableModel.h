#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPixmap>
#include <QTimer>
#include <chrono>

#include "search/ResultList.h"
#include "search/SearchModel.h"

namespace korvana {

// The result list's table: the displayed search's rows over the search
// model, seven columns. Rows that other threads report reach it through one
// drain per burst, at most every kMinDrainGap; each drain folds the whole batch
// into the list and tells the view in a few steps (rows removed, rows inserted, at most one
// reordering), never row by row.
class ResultTableModel final : public QAbstractTableModel, public ListChangeListener {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kMinDrainGap{20};

    explicit ResultTableModel(SearchModel& model, QObject* parent = nullptr);
    ~ResultTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Rebuilds the list from `searchId`'s results (-1: none).
    void ShowSearch(int searchId);
    // A header click: the new sort state, then the list rebuilt.
    void SortBy(ResultColumn column);
    const ListedRow& Row(int row) const { return list_.At(static_cast<std::size_t>(row)); }
    // Applies what the model queued; the drain timer calls it.
    void Drain();

    // Any thread, with the model's lock held: post one drain.
    void OnListChanged() override;

  signals:
    // A search's count for its tab label changed.
    void ResultCountChanged(int searchId, int count);

  private:
    // Drains at once, or when kMinDrainGap, or twice what the last drain
    // cost if that is longer, has passed since the last drain: a flood of
    // results is listed in batches, the list repaints a few dozen times a
    // second at most, and a long list leaves the GUI thread at least two
    // thirds of its time for the user.
    void ScheduleDrain();
    void Reset(std::vector<ListedRow> rows);
    void Apply(ListPlan plan);
    void RemoveLeaving(const std::vector<std::size_t>& leaving);
    void Reorder(ListPlan plan);

    SearchModel& model_;
    ResultList list_;
    RowOrdering ordering_;
    QList<QPixmap> statusImages_;
    QList<QPixmap> headerImages_;
    QTimer drainTimer_;
    std::chrono::steady_clock::time_point lastDrain_;
    std::chrono::steady_clock::duration lastDrainCost_{};
};

}  // namespace korvana
