#include "search/ui/ResultTableModel.h"

#include <algorithm>
#include <unordered_map>

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
    : QAbstractTableModel(parent),
      model_(model),
      ordering_(model.Ordering()),
      statusImages_(StatusImages()),
      headerImages_(SortHeaderImages()) {
    list_.Reset(model_.ShowSearch(model_.DisplayedSearchId()));
    drainTimer_.setSingleShot(true);
    connect(&drainTimer_, &QTimer::timeout, this, &ResultTableModel::Drain);
    model_.SetListener(this);
}

ResultTableModel::~ResultTableModel() {
    // Once this returns no thread calls OnListChanged again; a drain already
    // posted dies with the object.
    model_.SetListener(nullptr);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.Size());
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kResultColumnCount;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const ListedRow& row = Row(index.row());
    const auto column = static_cast<ResultColumn>(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return column == ResultColumn::Status
                       ? QVariant()
                       : TextFromBytes(DisplayText(ColumnText(row, column)));
        case Qt::DecorationRole:
            return column == ResultColumn::Status ? statusImages_.value(StatusIcon(row))
                                                  : QVariant();
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
    Reset(model_.ShowSearch(searchId));
}

void ResultTableModel::SortBy(ResultColumn column) {
    std::vector<ListedRow> rows = model_.SortBy(column);
    ordering_ = model_.Ordering();
    Reset(std::move(rows));
    emit headerDataChanged(Qt::Horizontal, 0, kResultColumnCount - 1);
}

void ResultTableModel::Reset(std::vector<ListedRow> rows) {
    beginResetModel();
    list_.Reset(std::move(rows));
    endResetModel();
}

void ResultTableModel::OnListChanged() {
    QMetaObject::invokeMethod(this, &ResultTableModel::ScheduleDrain, Qt::QueuedConnection);
}

void ResultTableModel::ScheduleDrain() {
    if (drainTimer_.isActive()) {
        return;
    }
    const auto gap =
        std::max<std::chrono::steady_clock::duration>(kMinDrainGap, 2 * lastDrainCost_);
    const auto since = std::chrono::steady_clock::now() - lastDrain_;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(gap - since);
    drainTimer_.start(std::max(wait, std::chrono::milliseconds(0)));
}

void ResultTableModel::Drain() {
    drainTimer_.stop();
    lastDrain_ = std::chrono::steady_clock::now();
    const ListChanges changes = model_.TakeListChanges();
    if (!changes.events.empty()) {
        Apply(list_.Plan(changes.events, ordering_));
    }
    for (const auto& [searchId, count] : changes.counts) {
        emit ResultCountChanged(searchId, count);
    }
    lastDrainCost_ = std::chrono::steady_clock::now() - lastDrain_;
}

void ResultTableModel::Apply(ListPlan plan) {
    RemoveLeaving(plan.leaving);
    const std::vector<std::size_t>& at = plan.arrivedAt;
    if (at.empty()) {
        // Only removals: the list is already the plan's.
        return;
    }
    if (!plan.moved && at.back() - at.front() + 1 == at.size()) {
        // New rows side by side, as when every new row goes to the top: one
        // insertion.
        beginInsertRows(QModelIndex(), static_cast<int>(at.front()), static_cast<int>(at.back()));
        list_.Adopt(std::move(plan));
        endInsertRows();
        return;
    }
    // Scattered rows: append them in one step, then put every row in its
    // place in one reordering.
    if (!plan.fresh.empty()) {
        const int first = static_cast<int>(list_.Size());
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(plan.fresh.size()) - 1);
        list_.Append(plan.fresh);
        endInsertRows();
    }
    Reorder(std::move(plan));
}

void ResultTableModel::RemoveLeaving(const std::vector<std::size_t>& leaving) {
    // From the bottom up, one run of neighbouring rows at a time, so that
    // the indexes still to remove stay valid.
    std::size_t end = leaving.size();
    while (end > 0) {
        std::size_t begin = end - 1;
        while (begin > 0 && leaving[begin - 1] + 1 == leaving[begin]) {
            --begin;
        }
        const std::size_t first = leaving[begin];
        const std::size_t count = end - begin;
        beginRemoveRows(QModelIndex(), static_cast<int>(first),
                        static_cast<int>(first + count - 1));
        list_.Erase(first, count);
        endRemoveRows();
        end = begin;
    }
}

void ResultTableModel::Reorder(ListPlan plan) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        // Selection and current row follow their results.
        std::unordered_map<const SearchResult*, int> placed;
        placed.reserve(plan.rows.size());
        for (std::size_t i = 0; i < plan.rows.size(); ++i) {
            placed.emplace(plan.rows[i].result, static_cast<int>(i));
        }
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from) {
            const auto found = placed.find(Row(index.row()).result);
            to.append(found == placed.end() ? QModelIndex()
                                            : this->index(found->second, index.column()));
        }
        changePersistentIndexList(from, to);
    }
    list_.Adopt(std::move(plan));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace korvana
