#pragma once

#include <QIcon>
#include <array>

#include "controls/RowTableModel.h"
#include "library/LibraryModel.h"

namespace korvana {

// The library list as a table: "Filename", "Size", the hidden
// "FilenameWithPath", then what the tags say: "Artist", "Title", "Album",
// "Length" and "Bitrate", with the sort state as header images. Its rows are
// the library's as the view knows them, brought up to date by the
// library's queued steps; the commands act on these rows, which are the
// ones the user sees and selects.
class LibraryTableModel final : public RowTableModel<LibraryEntry> {
  public:
    // The drains' least gap: a burst of scans reaches the view in a few
    // batches at most.
    static constexpr std::chrono::milliseconds kLeastDrainGap{50};

    explicit LibraryTableModel(LibraryModel& library, QObject* parent = nullptr);
    ~LibraryTableModel() override;

    // A click on a column header: the library sorts again and the view
    // shows the new order and header images at once.
    void ClickColumn(int column);

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Rows dragged out go as file URLs: to the playlist, or to any program
    // that takes files.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

  private:
    RowChanges<LibraryEntry> TakeChanges() override;

    LibraryModel& library_;
    std::array<QIcon, 3> headerImages_;
};

}  // namespace korvana
