#include "app/ui/StatusLogModel.h"

#include <algorithm>

namespace korvana {

StatusLogModel::StatusLogModel(std::size_t bound, QObject* parent)
    : QAbstractListModel(parent), bound_(std::max<std::size_t>(1, bound)) {}

int StatusLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant StatusLogModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return lines_[static_cast<std::size_t>(index.row())];
}

QString StatusLogModel::Text(const std::string& line) {
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void StatusLogModel::Append(const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    if (lines.size() >= bound_) {
        Replace(lines);
        return;
    }
    const std::size_t overflow = std::max(lines_.size() + lines.size(), bound_) - bound_;
    if (overflow > 0) {
        beginRemoveRows(QModelIndex(), 0, static_cast<int>(overflow) - 1);
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(overflow));
        endRemoveRows();
    }
    const int first = static_cast<int>(lines_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(lines.size()) - 1);
    for (const std::string& line : lines) {
        lines_.push_back(Text(line));
    }
    endInsertRows();
}

void StatusLogModel::Replace(const std::vector<std::string>& lines) {
    beginResetModel();
    lines_.clear();
    const std::size_t skip = lines.size() - std::min(lines.size(), bound_);
    for (std::size_t i = skip; i < lines.size(); ++i) {
        lines_.push_back(Text(lines[i]));
    }
    endResetModel();
}

}  // namespace korvana
