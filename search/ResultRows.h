#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "search/KnownFiles.h"
#include "search/SearchResult.h"
#include "util/WordFilter.h"

namespace korvana {

// What the Net column shows for a web result.
inline const std::string kWebNetwork = "Web";

// The columns of the result list, in their order.
enum class ResultColumn : int { Status = 0, Filename, Size, Net, Sources, Info, Link };
inline constexpr int kResultColumnCount = 7;

// Images of the status column's image list.
inline constexpr int kIconWebPending = 0;
inline constexpr int kIconWebComplete = 1;
inline constexpr int kIconCore = 3;
inline constexpr int kIconInLibrary = 4;
inline constexpr int kIconDownloading = 5;

// One row of the list: a result and what the row shows of it. The row shares
// the ownership of its result's search, so a search removed while its rows
// are on screen (or queued for it) is freed once the last of them goes. A web
// result's size and probe state are copied when the row is made, so that the
// row can be read on the GUI thread without the model's lock while probes
// report.
struct ListedRow {
    std::shared_ptr<const SearchResult> result;
    std::int64_t size = 0;  // 0 while a web result's size is unknown
    ProbeState probe = ProbeState::New;

    bool SizeKnown() const { return result->fromCore || probe == ProbeState::SizeKnown; }
};

// A row keeps its identity, and the selection on it, while the list reorders.
inline const SearchResult* RowKey(const ListedRow& row) {
    return row.result.get();
}

// A row showing `result` as it stands; the caller holds the model's lock.
ListedRow MakeRow(std::shared_ptr<const SearchResult> result);

// Whether each of the filter's words is in the row's file name or in its
// artist, title and album tags.
inline bool ShownBy(const WordFilter& filter, const ListedRow& row) {
    return filter.Matches(row.result->Name(), row.result->Tags());
}

int StatusIcon(const ListedRow& row);
// A result whose file the program already has, or is getting, says so
// rather than where it came from.
int StatusIcon(const ListedRow& row, FileMark mark);
// What a marked result's row says when the mouse rests on it; "" unmarked.
std::string MarkToolTip(FileMark mark);
// The text of a cell; the Status column has none.
std::string ColumnText(const ListedRow& row, ResultColumn column);

// The sort state. Without a column, or with Link, every new row goes to the
// top; otherwise rows follow the column's key in the given direction.
struct RowOrdering {
    std::optional<ResultColumn> column;
    bool ascending = false;

    bool Sorted() const { return column && *column != ResultColumn::Link; }
    friend bool operator==(const RowOrdering&, const RowOrdering&) = default;
};

// A click on a header: the sort column's flips the direction, another's
// makes that column the sort column, descending.
RowOrdering ClickHeader(RowOrdering ordering, ResultColumn column);

// Compares the keys of two rows under a sort column: negative, 0 or positive.
int CompareKeys(const ListedRow& a, const ListedRow& b, ResultColumn column);

// True when a new row `row` goes before the listed row `existing`: ascending,
// when the existing key is greater; descending, when it is smaller; unsorted,
// always. A new row therefore lands after the rows with an equal key.
bool Precedes(const ListedRow& row, const ListedRow& existing, RowOrdering ordering);

// Where a new row goes in a list kept in `ordering`: before the first row it
// precedes, else at the end. Found by binary search.
std::size_t InsertPosition(const std::vector<ListedRow>& rows, const ListedRow& row,
                           RowOrdering ordering);

// Puts a search's rows, given newest first, in the order that inserting them
// one by one in that order would give: one stable sort.
void OrderAsInserted(std::vector<ListedRow>& newestFirst, RowOrdering ordering);

// The list that inserting the new rows one by one, in order, into `rows`
// (kept in `ordering`) would give. `ordered` holds the new rows as
// OrderAsInserted leaves them. `arrivedAt` receives the new rows' indexes in
// the result, ascending.
std::vector<ListedRow> MergeArrivals(const std::vector<ListedRow>& rows,
                                     const std::vector<ListedRow>& ordered, RowOrdering ordering,
                                     std::vector<std::size_t>& arrivedAt);

}  // namespace korvana
