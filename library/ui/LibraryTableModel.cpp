#include "library/ui/LibraryTableModel.h"

#include "controls/QtBridge.h"
#include "controls/SortHeaderImages.h"
#include "library/ui/LibraryArtwork.h"

namespace korvana {
namespace {

constexpr int kColumns = 3;

}  // namespace

LibraryTableModel::LibraryTableModel(const LibraryModel& library, QObject* parent)
    : QAbstractTableModel(parent), library_(library), rows_(library.Rows()) {
    const QList<QPixmap> images = SortHeaderImages();
    for (std::size_t i = 0; i < headerImages_.size(); ++i) {
        headerImages_[i] = QIcon(images.value(static_cast<qsizetype>(i)));
    }
}

void LibraryTableModel::Apply(const std::vector<RowEvent>& events) {
    for (const RowEvent& event : events) {
        const auto at = static_cast<std::ptrdiff_t>(event.row);
        const int row = static_cast<int>(event.row);
        switch (event.kind) {
            case RowEvent::Kind::Inserted:
                beginInsertRows(QModelIndex(), row,
                                row + static_cast<int>(event.entries.size()) - 1);
                rows_.insert(rows_.begin() + at, event.entries.begin(), event.entries.end());
                endInsertRows();
                break;
            case RowEvent::Kind::Removed:
                beginRemoveRows(QModelIndex(), row, row + static_cast<int>(event.count) - 1);
                rows_.erase(rows_.begin() + at,
                            rows_.begin() + at + static_cast<std::ptrdiff_t>(event.count));
                endRemoveRows();
                break;
            case RowEvent::Kind::Resized:
                MoveRow(event.row, event.to);
                rows_[event.to] = event.entry;
                emit dataChanged(index(static_cast<int>(event.to), 0),
                                 index(static_cast<int>(event.to), kColumns - 1));
                break;
            case RowEvent::Kind::Reset:
                beginResetModel();
                rows_ = library_.Rows();
                endResetModel();
                // The sort state may have changed with the rows.
                emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
                break;
        }
    }
}

// A move rather than a removal and an insertion, so that the view keeps the
// row's selection and current index.
void LibraryTableModel::MoveRow(std::size_t from, std::size_t to) {
    if (from == to) {
        return;
    }
    const int source = static_cast<int>(from);
    // The destination counts rows before the move.
    const int destination = static_cast<int>(to > from ? to + 1 : to);
    beginMoveRows(QModelIndex(), source, source, QModelIndex(), destination);
    LibraryEntry moving = std::move(rows_[from]);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(from));
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(to), std::move(moving));
    endMoveRows();
}

int LibraryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LibraryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant LibraryTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const LibraryEntry& entry = EntryAt(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
            case kFilenameColumn:
                return TextFromBytes(role == Qt::ToolTipRole ? entry.fullPath : entry.fileName);
            case kSizeColumn:
                return TextFromBytes(entry.sizeText);
            default:
                return TextFromBytes(entry.fullPath);
        }
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant LibraryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        static const char* const kTitles[kColumns] = {"Filename", "Size", "FilenameWithPath"};
        return QString::fromLatin1(kTitles[section]);
    }
    if (role == Qt::DecorationRole) {
        return headerImages_[static_cast<std::size_t>(library_.HeaderImage(section))];
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags LibraryTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace korvana
