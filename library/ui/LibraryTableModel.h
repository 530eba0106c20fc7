#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <vector>

#include "library/LibraryModel.h"

namespace korvana {

// The library list as a table: "Filename", "Size" and the hidden
// "FilenameWithPath", with the sort state as header images. It keeps its
// own copy of the rows and brings it up to date one RowEvent at a time, so
// that views see each ranged insert, move and ranged removal (and keep their
// selections) and only a Reset resets them.
class LibraryTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit LibraryTableModel(const LibraryModel& library, QObject* parent = nullptr);

    // Applies the changes the library reported, in order.
    void Apply(const std::vector<RowEvent>& events);

    const LibraryEntry& EntryAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void MoveRow(std::size_t from, std::size_t to);

    const LibraryModel& library_;
    std::vector<LibraryEntry> rows_;
    std::array<QIcon, 3> headerImages_;
};

}  // namespace korvana
