#pragma once

#include <QAbstractTableModel>
#include <chrono>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "controls/ChangeDrain.h"
#include "util/RowChanges.h"

namespace korvana {

// A row type whose rows keep their identity through a reordering names it
// with `RowKey(row)` (found by argument-dependent lookup), so that the
// selection and the current row follow their rows.
template <typename Row>
concept KeyedRow = requires(const Row& row) {
    RowKey(row);
};

// The one adapter between a changing list of the logic and a view: the
// table's own copy of the rows, brought up to date by the list's queued
// RowChange steps, one step at a time, so that views see each ranged
// insertion, removal, change and move, and keep their selections. The list
// tells `Notices()` when changes wait; the drain takes them on the GUI
// thread, paced (ChangeDrain). Subclasses say how to take the changes and
// how a row is shown.
template <typename Row>
class RowTableModel : public QAbstractTableModel {
  public:
    explicit RowTableModel(std::chrono::milliseconds minGap, QObject* parent = nullptr)
        : QAbstractTableModel(parent), drain_([this] { Apply(TakeChanges()); }, minGap, this) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    const Row& RowAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    const std::vector<Row>& Rows() const { return rows_; }

    // The listener to give the list's ChangeNotice.
    ChangeListener& Notices() { return drain_; }
    // Takes and applies what waits now, without waiting for the pacing.
    void DrainNow() { drain_.DrainNow(); }

    // Applies the steps, in order.
    void Apply(RowChanges<Row> changes) {
        for (RowChange<Row>& change : changes) {
            ApplyOne(change);
        }
    }

  protected:
    // The changes queued since the last take; the list's notice is lowered.
    virtual RowChanges<Row> TakeChanges() = 0;
    ChangeDrain& Drain() { return drain_; }

  private:
    using Kind = typename RowChange<Row>::Kind;

    void ApplyOne(RowChange<Row>& change) {
        const int first = static_cast<int>(change.first);
        switch (change.kind) {
            case Kind::Inserted:
            case Kind::Removed:
            case Kind::Moved:
                ApplyRowCountStep(change);
                break;
            case Kind::Changed:
                if (!change.rows.empty()) {
                    const int last = first + static_cast<int>(change.rows.size()) - 1;
                    ApplyRowChanges(rows_, {std::move(change)});
                    emit dataChanged(index(first, 0), index(last, columnCount() - 1));
                }
                break;
            case Kind::Reordered:
                Reorder(std::move(change.rows));
                break;
            case Kind::Reset:
                beginResetModel();
                rows_ = std::move(change.rows);
                endResetModel();
                break;
        }
    }

    void ApplyRowCountStep(RowChange<Row>& change) {
        const int first = static_cast<int>(change.first);
        if (change.kind == Kind::Inserted && !change.rows.empty()) {
            beginInsertRows({}, first, first + static_cast<int>(change.rows.size()) - 1);
            ApplyRowChanges(rows_, {std::move(change)});
            endInsertRows();
        } else if (change.kind == Kind::Removed && change.count > 0) {
            beginRemoveRows({}, first, first + static_cast<int>(change.count) - 1);
            ApplyRowChanges(rows_, {std::move(change)});
            endRemoveRows();
        } else if (change.kind == Kind::Moved && change.to != change.first) {
            // Qt counts the destination before the row leaves.
            const int destination =
                static_cast<int>(change.to > change.first ? change.to + 1 : change.to);
            beginMoveRows({}, first, first, {}, destination);
            ApplyRowChanges(rows_, {std::move(change)});
            endMoveRows();
        }
    }

    void Reorder(std::vector<Row> rows) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList from = persistentIndexList();
        if (!from.isEmpty()) {
            changePersistentIndexList(from, Placed(from, rows));
        }
        rows_ = std::move(rows);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

    // Where the rows of `from` stand in `rows`; without row keys, nowhere.
    QModelIndexList Placed(const QModelIndexList& from, const std::vector<Row>& rows) const {
        QModelIndexList to;
        to.reserve(from.size());
        if constexpr (KeyedRow<Row>) {
            std::unordered_map<std::remove_cvref_t<decltype(RowKey(rows.front()))>, int> placed;
            placed.reserve(rows.size());
            for (std::size_t i = 0; i < rows.size(); ++i) {
                placed.emplace(RowKey(rows[i]), static_cast<int>(i));
            }
            for (const QModelIndex& index : from) {
                const auto found = placed.find(RowKey(RowAt(index.row())));
                to.append(found == placed.end() ? QModelIndex()
                                                : this->index(found->second, index.column()));
            }
        } else {
            for (qsizetype i = 0; i < from.size(); ++i) {
                to.append(QModelIndex());
            }
        }
        return to;
    }

    std::vector<Row> rows_;
    ChangeDrain drain_;
};

}  // namespace korvana
