#include "search/ui/ResultTableModel.h"

#include "controls/QtBridge.h"
#include "controls/SortHeaderImages.h"
#include "core/DisplayText.h"
#include "search/ui/SearchArtwork.h"

namespace korvana {
namespace {

constexpr const char* kColumnTitles[kResultColumnCount] = {"Status",  "Filename", "Size", "Net",
                                                           "Sources", "Info",     "Link"};

bool Centred(ResultColumn column) {
    return column == ResultColumn::Status || column == ResultColumn::Net ||
           column == ResultColumn::Sources;
}

int HeaderImage(const RowOrdering& ordering, int section) {
    if (!ordering.column || static_cast<int>(*ordering.column) != section) {
        return 0;
    }
    return ordering.ascending ? 2 : 1;
}

}  // namespace

ResultTableModel::ResultTableModel(SearchModel& model, QObject* parent)
    : RowTableModel(kMinDrainGap, parent),
      model_(model),
      ordering_(model.Ordering()),
      statusImages_(StatusImages()),
      headerImages_(SortHeaderImages()) {
    Apply({RowChange<ListedRow>::Reset(model_.ShowSearch(model_.DisplayedSearchId()))});
    model_.Notice().SetListener(&Notices());
    // Counts that changed before the table listened still reach the tabs.
    model_.Notice().Raise();
}

ResultTableModel::~ResultTableModel() {
    // Once this returns no thread tells the drain again; a drain already
    // posted dies with the object.
    model_.Notice().SetListener(nullptr);
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResultColumnCount;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const ListedRow& row = RowAt(index.row());
    const auto column = static_cast<ResultColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return column == ResultColumn::Status
                       ? QVariant()
                       : TextFromBytes(DisplayText(ColumnText(row, column)));
        case Qt::DecorationRole:
            return column == ResultColumn::Status
                       ? statusImages_.value(StatusIcon(row, MarkOf(row)))
                       : QVariant();
        case Qt::ToolTipRole: {
            const std::string tip = MarkToolTip(MarkOf(row));
            return tip.empty() ? QVariant() : QVariant(QString::fromStdString(tip));
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter |
                                       (Centred(column) ? Qt::AlignHCenter : Qt::AlignLeft));
        default:
            return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kResultColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromLatin1(kColumnTitles[section]);
        case Qt::DecorationRole:
            return headerImages_.value(HeaderImage(ordering_, section));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignLeft);
        default:
            return {};
    }
}

void ResultTableModel::ShowSearch(int searchId) {
    Apply({RowChange<ListedRow>::Reset(model_.ShowSearch(searchId))});
}

void ResultTableModel::SetFilter(const std::string& typed) {
    Apply({RowChange<ListedRow>::Reset(model_.FilterRows(WordFilter(typed), Rows()))});
}

void ResultTableModel::SetKnownFiles(const KnownFiles* known) {
    known_ = known;
    MarksChanged();
}

void ResultTableModel::MarksChanged() {
    if (rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::DecorationRole, Qt::ToolTipRole});
    }
}

FileMark ResultTableModel::MarkOf(const ListedRow& row) const {
    return known_ != nullptr ? known_->Mark(row.result->Name()) : FileMark::None;
}

void ResultTableModel::SortBy(ResultColumn column) {
    std::vector<ListedRow> rows = model_.SortBy(column);
    ordering_ = model_.Ordering();
    Apply({RowChange<ListedRow>::Reset(std::move(rows))});
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumnCount - 1);
}

RowChanges<ListedRow> ResultTableModel::TakeChanges() {
    ListChanges changes = model_.TakeListChanges(Rows());
    for (const auto& [searchId, count] : changes.counts) {
        emit ResultCountChanged(searchId, count);
    }
    for (const std::int32_t searchId : changes.progressed) {
        emit ProgressChanged(searchId);
    }
    return std::move(changes.steps);
}

}  // namespace korvana
