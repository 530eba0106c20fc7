#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "library/Playlist.h"

namespace korvana {

// The playlist as a table: "Title" and the hidden "FilenameWithPath". The
// player changes the playlist; Sync brings the table up to date afterwards.
class PlaylistTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit PlaylistTableModel(const Playlist& playlist, QObject* parent = nullptr);

    // Resets the table when the playlist's rows differ from those shown.
    void Sync();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const Playlist& playlist_;
    std::vector<Track> rows_;
};

}  // namespace korvana
