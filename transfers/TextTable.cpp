#include "transfers/TextTable.h"

#include <algorithm>

namespace korvana {

TextTable::TextTable(std::size_t columns, std::vector<std::size_t> lookupColumns)
    : columns_(columns), lookupColumns_(std::move(lookupColumns)) {}

TextTable::Row& TextTable::RowAt(std::size_t row) {
    return row < rows_.size() ? rows_[row] : pending_[row - rows_.size()];
}

const std::string& TextTable::Cell(std::size_t row, std::size_t column) const {
    return (row < rows_.size() ? rows_[row] : pending_[row - rows_.size()])[column];
}

// Cells are joined with a byte that texts from the core and the web do not
// hold at that place: names are cut at the first NUL when decoded.
std::string TextTable::LookupKey(const Row& row) const {
    std::string key;
    for (const std::size_t column : lookupColumns_) {
        key += row[column];
        key += '\0';
    }
    return key;
}

void TextTable::Index(std::size_t row) {
    index_.emplace(LookupKey(RowAt(row)), row);
}

void TextTable::RebuildIndex() {
    index_.clear();
    for (std::size_t row = 0; row < rows_.size() + pending_.size(); ++row) {
        Index(row);
    }
    indexStale_ = false;
}

std::optional<std::size_t> TextTable::Find(const std::vector<std::string_view>& lookup) {
    if (indexStale_) {
        RebuildIndex();
    }
    std::string key;
    for (const std::string_view part : lookup) {
        key += part;
        key += '\0';
    }
    const auto found = index_.find(key);
    if (found == index_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool TextTable::Write(std::size_t row, std::size_t column, std::string_view text) {
    std::string& cell = RowAt(row)[column];
    if (cell == text) {
        return false;
    }
    cell.assign(text);
    ++cellWrites_;
    if (std::find(lookupColumns_.begin(), lookupColumns_.end(), column) != lookupColumns_.end()) {
        indexStale_ = true;
    }
    if (row >= rows_.size()) {
        return true;  // announced with its row
    }
    if (!dirtyFirstRow_) {
        dirtyFirstRow_ = row;
        dirtyLastRow_ = row;
        dirtyFirstColumn_ = column;
        dirtyLastColumn_ = column;
        return true;
    }
    dirtyFirstRow_ = std::min(*dirtyFirstRow_, row);
    dirtyLastRow_ = std::max(dirtyLastRow_, row);
    dirtyFirstColumn_ = std::min(dirtyFirstColumn_, column);
    dirtyLastColumn_ = std::max(dirtyLastColumn_, column);
    return true;
}

std::size_t TextTable::Append(std::vector<std::string> row) {
    row.resize(columns_);
    pending_.push_back(std::move(row));
    const std::size_t index = rows_.size() + pending_.size() - 1;
    if (!indexStale_) {
        Index(index);
    }
    return index;
}

void TextTable::Commit() {
    if (dirtyFirstRow_) {
        const std::size_t first = *dirtyFirstRow_;
        dirtyFirstRow_.reset();
        if (observer_ != nullptr) {
            observer_->CellsChanged(first, dirtyLastRow_, dirtyFirstColumn_, dirtyLastColumn_);
        }
    }
    if (pending_.empty()) {
        return;
    }
    const std::size_t first = rows_.size();
    if (observer_ != nullptr) {
        observer_->RowsAboutToBeAppended(first, first + pending_.size() - 1);
    }
    std::move(pending_.begin(), pending_.end(), std::back_inserter(rows_));
    pending_.clear();
    if (observer_ != nullptr) {
        observer_->RowsAppended();
    }
}

void TextTable::Remove(std::vector<std::size_t> rows) {
    Commit();
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [this](std::size_t row) { return row >= rows_.size(); });
    // From the bottom up, so that the indices of the runs still to go hold.
    for (std::size_t i = 0; i < rows.size();) {
        const std::size_t last = rows[i];
        std::size_t first = last;
        while (++i < rows.size() && rows[i] == first - 1) {
            first = rows[i];
        }
        if (observer_ != nullptr) {
            observer_->RowsAboutToBeRemoved(first, last);
        }
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(first),
                    rows_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
        if (observer_ != nullptr) {
            observer_->RowsRemoved();
        }
    }
    if (!rows.empty()) {
        indexStale_ = true;
    }
}

}  // namespace korvana
