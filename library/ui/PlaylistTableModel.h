#pragma once

#include "controls/RowTableModel.h"
#include "library/Playlist.h"

namespace korvana {

// The playlist as a table: "Title" and the hidden "FilenameWithPath", the
// track that plays in bold. The player changes the playlist; its queued
// steps bring the table up to date, paced, or at once through DrainNow()
// when the page renders the player.
class PlaylistTableModel final : public RowTableModel<Track> {
  public:
    static constexpr std::chrono::milliseconds kLeastDrainGap{50};

    explicit PlaylistTableModel(const Playlist& playlist, QObject* parent = nullptr);
    ~PlaylistTableModel() override;

    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The row that plays (-1: none), as the playlist counts it once its
    // steps are taken.
    void ShowCurrent(std::int64_t row);

  private:
    RowChanges<Track> TakeChanges() override;

    const Playlist& playlist_;
    std::int64_t current_ = -1;
};

}  // namespace korvana
