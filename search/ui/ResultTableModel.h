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
    // Lists only the rows whose name or tags hold every typed word
    // (SearchModel::FilterRows), as one reset.
    void SetFilter(const std::string& typed);
    // Results are marked by what `known` holds (null: none are); it must
    // outlive the table.
    void SetKnownFiles(const KnownFiles* known);
    // The known files changed: every row's mark is read again.
    void MarksChanged();
    // A header click: the new sort state, then the list rebuilt.
    void SortBy(ResultColumn column);

  signals:
    // A search's count for its tab label changed.
    void ResultCountChanged(int searchId, int count);
    // A search's engines moved on.
    void ProgressChanged(int searchId);

  private:
    RowChanges<ListedRow> TakeChanges() override;
    FileMark MarkOf(const ListedRow& row) const;

    SearchModel& model_;
    const KnownFiles* known_ = nullptr;
    RowOrdering ordering_;
    QList<QPixmap> statusImages_;
    QList<QPixmap> headerImages_;
};

}  // namespace korvana
