#include "library/ui/LibraryTableModel.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "controls/QtBridge.h"
#include "controls/SortHeaderImages.h"
#include "library/ui/LibraryArtwork.h"
#include "util/LengthText.h"

namespace korvana {
namespace {

constexpr int kColumns = kLibraryColumns;

std::string CellText(const LibraryEntry& entry, int column, bool tip) {
    switch (column) {
        case kFilenameColumn:
            return tip ? entry.fullPath : entry.fileName;
        case kSizeColumn:
            return entry.sizeText;
        case kArtistColumn:
            return entry.tags.artist;
        case kTitleColumn:
            return entry.tags.title;
        case kAlbumColumn:
            return entry.tags.album;
        case kLengthColumn:
            return LengthText(entry.tags.lengthSeconds);
        case kBitrateColumn:
            return BitrateText(entry.tags.bitrateKbps);
        default:
            return entry.fullPath;
    }
}

}  // namespace

// A view that comes after the library's first steps starts from its rows
// as they stand.
LibraryTableModel::LibraryTableModel(LibraryModel& library, QObject* parent)
    : RowTableModel(kLeastDrainGap, parent), library_(library) {
    const QList<QPixmap> images = SortHeaderImages();
    for (std::size_t i = 0; i < headerImages_.size(); ++i) {
        headerImages_[i] = QIcon(images.value(static_cast<qsizetype>(i)));
    }
    library_.TakeChanges();
    Apply({RowChange<LibraryEntry>::Reset(library_.Rows())});
    library_.Notice().SetListener(&Notices());
}

LibraryTableModel::~LibraryTableModel() {
    library_.Notice().SetListener(nullptr);
}

RowChanges<LibraryEntry> LibraryTableModel::TakeChanges() {
    return library_.TakeChanges();
}

void LibraryTableModel::ClickColumn(int column) {
    library_.ClickColumn(column);
    DrainNow();
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

int LibraryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant LibraryTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const LibraryEntry& entry = RowAt(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return TextFromBytes(CellText(entry, index.column(), role == Qt::ToolTipRole));
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
        static const char* const kTitles[kColumns] = {"Filename", "Size",   "FilenameWithPath",
                                                      "Artist",   "Title",  "Album",
                                                      "Length",   "Bitrate"};
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

QStringList LibraryTableModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LibraryTableModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid()) {
            rows.push_back(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<QUrl> urls;
    for (const int row : rows) {
        urls.append(QUrl::fromLocalFile(TextFromBytes(RowAt(row).fullPath)));
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::ItemFlags LibraryTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

}  // namespace korvana
