#include "library/ui/PlaylistTableModel.h"

#include "controls/QtBridge.h"

namespace korvana {
namespace {

constexpr int kTitleColumn = 0;
constexpr int kColumns = 2;

}  // namespace

PlaylistTableModel::PlaylistTableModel(const Playlist& playlist, QObject* parent)
    : QAbstractTableModel(parent), playlist_(playlist), rows_(playlist.Rows()) {}

void PlaylistTableModel::Sync() {
    if (rows_ == playlist_.Rows()) {
        return;
    }
    beginResetModel();
    rows_ = playlist_.Rows();
    endResetModel();
}

int PlaylistTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PlaylistTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PlaylistTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Track& track = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        return TextFromBytes(index.column() == kTitleColumn ? track.title : track.fullPath);
    }
    if (role == Qt::ToolTipRole) {
        return TextFromBytes(track.fullPath);
    }
    return {};
}

QVariant PlaylistTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kColumns) {
        return {};
    }
    return section == kTitleColumn ? QStringLiteral("Title") : QStringLiteral("FilenameWithPath");
}

Qt::ItemFlags PlaylistTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace korvana
