#include "library/ui/PlaylistTableModel.h"

#include <QColor>
#include <QFont>
#include <filesystem>
#include <utility>

#include "controls/QtBridge.h"

namespace korvana {
namespace {

bool Missing(const Track& track) {
    std::error_code error;
    return !std::filesystem::exists(track.fullPath, error);
}

constexpr int kTitleColumn = 0;
constexpr int kColumns = 2;

}  // namespace

// A view that comes after the playlist's first steps starts from its rows
// as they stand.
PlaylistTableModel::PlaylistTableModel(const Playlist& playlist, QObject* parent)
    : RowTableModel(kLeastDrainGap, parent), playlist_(playlist) {
    playlist_.Changes().Take();
    Apply({RowChange<Track>::Reset(playlist_.Rows())});
    playlist_.Changes().Notice().SetListener(&Notices());
}

PlaylistTableModel::~PlaylistTableModel() {
    playlist_.Changes().Notice().SetListener(nullptr);
}

RowChanges<Track> PlaylistTableModel::TakeChanges() {
    return playlist_.Changes().Take();
}

int PlaylistTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant PlaylistTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Track& track = RowAt(index.row());
    if (role == Qt::DisplayRole) {
        return TextFromBytes(index.column() == kTitleColumn ? track.title : track.fullPath);
    }
    // A file gone since it was added stays in the list, greyed, saying so.
    if (role == Qt::ToolTipRole) {
        const QString path = TextFromBytes(track.fullPath);
        return Missing(track) ? path + QStringLiteral(" (missing)") : path;
    }
    if (role == Qt::ForegroundRole && Missing(track)) {
        return QColor(Qt::gray);
    }
    if (role == Qt::FontRole && index.row() == current_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

void PlaylistTableModel::ShowCurrent(std::int64_t row) {
    if (row == current_) {
        return;
    }
    const std::int64_t before = std::exchange(current_, row);
    for (const std::int64_t changed : {before, row}) {
        if (changed >= 0 && changed < rowCount()) {
            const int at = static_cast<int>(changed);
            emit dataChanged(index(at, 0), index(at, columnCount() - 1), {Qt::FontRole});
        }
    }
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
