#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvana {

// Told about every change of a TextTable, in the order a list view needs:
// before and after rows come or go, and after cells changed. Appended rows
// and changed cells arrive once per Commit, as one range each.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void RowsAboutToBeAppended(std::size_t first, std::size_t last) = 0;
    virtual void RowsAppended() = 0;
    virtual void RowsAboutToBeRemoved(std::size_t first, std::size_t last) = 0;
    virtual void RowsRemoved() = 0;
    virtual void CellsChanged(std::size_t firstRow, std::size_t lastRow, std::size_t firstColumn,
                              std::size_t lastColumn) = 0;
};

// The rows of a list as texts, the way the transfer lists keep them: rows
// are appended at the end or removed, and a cell is written only when its
// text differs. Rows can be found by the texts of some columns (the lookup
// columns); the first such row wins.
//
// Not thread-safe: the table belongs to the thread that refreshes it and
// shows it (the GUI thread).
class TextTable {
  public:
    TextTable(std::size_t columns, std::vector<std::size_t> lookupColumns);

    void SetObserver(TableObserver* observer) { observer_ = observer; }

    std::size_t Columns() const { return columns_; }
    // Rows announced so far; appended rows count once committed.
    std::size_t RowCount() const { return rows_.size(); }
    // Committed or pending row.
    const std::string& Cell(std::size_t row, std::size_t column) const;

    // The first row (committed or pending) whose lookup columns hold these
    // texts, in the lookup columns' order.
    std::optional<std::size_t> Find(const std::vector<std::string_view>& lookup);

    // Writes the cell when its text differs; true when it did.
    bool Write(std::size_t row, std::size_t column, std::string_view text);
    // Queues a row (missing trailing cells are empty) for the next Commit and
    // returns the index it will have.
    std::size_t Append(std::vector<std::string> row);
    // Announces the cells written and the rows queued since the last Commit.
    void Commit();
    // Commits, then removes these rows (any order, duplicates ignored),
    // announcing each run of neighbouring rows once.
    void Remove(std::vector<std::size_t> rows);

    // Cells whose text was changed since the table was made.
    std::uint64_t CellWrites() const { return cellWrites_; }

  private:
    using Row = std::vector<std::string>;

    Row& RowAt(std::size_t row);
    std::string LookupKey(const Row& row) const;
    void Index(std::size_t row);
    void RebuildIndex();

    const std::size_t columns_;
    const std::vector<std::size_t> lookupColumns_;
    std::vector<Row> rows_;
    std::vector<Row> pending_;
    TableObserver* observer_ = nullptr;
    std::unordered_map<std::string, std::size_t> index_;
    bool indexStale_ = false;
    std::optional<std::size_t> dirtyFirstRow_;
    std::size_t dirtyLastRow_ = 0;
    std::size_t dirtyFirstColumn_ = 0;
    std::size_t dirtyLastColumn_ = 0;
    std::uint64_t cellWrites_ = 0;
};

}  // namespace korvana
