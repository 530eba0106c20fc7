#include "search/ResultRows.h"

#include "util/AsciiCase.h"
#include "util/LengthText.h"

#include <algorithm>
#include <string_view>

namespace korvana {
namespace {

int CompareNumbers(std::int64_t a, std::int64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

const std::string& NetText(const ListedRow& row) {
    return row.result->fromCore ? *row.result->network : kWebNetwork;
}

// The Sources column as a number: "-" counts as 0.
std::int64_t SourcesKey(const ListedRow& row) {
    if (row.result->fromCore) {
        return row.result->core->sources;
    }
    return row.SizeKnown() ? 1 : 0;
}

// The Info column's leading digits: the bit rate when it is shown.
std::int64_t InfoKey(const ListedRow& row) {
    return row.result->fromCore && row.result->core->bitrate >= 1 ? row.result->core->bitrate : 0;
}

}  // namespace

ListedRow MakeRow(std::shared_ptr<const SearchResult> result) {
    const std::int64_t size = result->size;
    const ProbeState probe = result->probe;
    ListedRow row{std::move(result), size, probe};
    if (!row.SizeKnown()) {
        row.size = 0;
    }
    return row;
}

int StatusIcon(const ListedRow& row) {
    if (row.result->fromCore) {
        return kIconCore;
    }
    return row.SizeKnown() ? kIconWebComplete : kIconWebPending;
}

int StatusIcon(const ListedRow& row, FileMark mark) {
    switch (mark) {
        case FileMark::InLibrary:
            return kIconInLibrary;
        case FileMark::Downloading:
            return kIconDownloading;
        case FileMark::None:
            break;
    }
    return StatusIcon(row);
}

std::string MarkToolTip(FileMark mark) {
    switch (mark) {
        case FileMark::InLibrary:
            return "Already in your Library";
        case FileMark::Downloading:
            return "Already in the transfer list";
        case FileMark::None:
            break;
    }
    return {};
}

std::string ColumnText(const ListedRow& row, ResultColumn column) {
    const SearchResult& result = *row.result;
    switch (column) {
        case ResultColumn::Status:
            return {};
        case ResultColumn::Filename:
            return std::string(result.Name());
        case ResultColumn::Size:
            return row.SizeKnown() ? std::to_string(row.size) : "Unknown";
        case ResultColumn::Net:
            return NetText(row);
        case ResultColumn::Sources:
            return result.fromCore ? std::to_string(result.core->sources)
                                   : (row.SizeKnown() ? "1" : "-");
        case ResultColumn::Info:
            if (!result.fromCore) {
                return result.web->info;
            }
            return BitrateText(InfoKey(row));
        case ResultColumn::Link:
            return result.fromCore ? std::to_string(result.core->resultId) : result.Link();
    }
    return {};
}

RowOrdering ClickHeader(RowOrdering ordering, ResultColumn column) {
    if (ordering.column == column) {
        ordering.ascending = !ordering.ascending;
        return ordering;
    }
    return RowOrdering{column, false};
}

int CompareKeys(const ListedRow& a, const ListedRow& b, ResultColumn column) {
    switch (column) {
        case ResultColumn::Status:
        case ResultColumn::Size:
            return CompareNumbers(a.size, b.size);
        case ResultColumn::Filename:
            return CompareIgnoringCase(a.result->Name(), b.result->Name());
        case ResultColumn::Net:
            return CompareIgnoringCase(NetText(a), NetText(b));
        case ResultColumn::Sources:
            return CompareNumbers(SourcesKey(a), SourcesKey(b));
        case ResultColumn::Info:
            return CompareNumbers(InfoKey(a), InfoKey(b));
        case ResultColumn::Link:
            return 0;
    }
    return 0;
}

bool Precedes(const ListedRow& row, const ListedRow& existing, RowOrdering ordering) {
    if (!ordering.Sorted()) {
        return true;
    }
    const int order = CompareKeys(existing, row, *ordering.column);
    return ordering.ascending ? order > 0 : order < 0;
}

std::size_t InsertPosition(const std::vector<ListedRow>& rows, const ListedRow& row,
                           RowOrdering ordering) {
    if (!ordering.Sorted()) {
        return 0;
    }
    // A list kept in this ordering holds first the rows that the new row
    // does not precede, then those it does: a partition point.
    const auto at = std::partition_point(rows.begin(), rows.end(), [&](const ListedRow& existing) {
        return !Precedes(row, existing, ordering);
    });
    return static_cast<std::size_t>(at - rows.begin());
}

void OrderAsInserted(std::vector<ListedRow>& newestFirst, RowOrdering ordering) {
    if (!ordering.Sorted()) {
        // Each row went to the top, so the last one inserted is first.
        std::reverse(newestFirst.begin(), newestFirst.end());
        return;
    }
    // Inserting after equal keys keeps the insertion order among them:
    // exactly a stable sort.
    std::stable_sort(
        newestFirst.begin(), newestFirst.end(),
        [&](const ListedRow& a, const ListedRow& b) { return Precedes(a, b, ordering); });
}

std::vector<ListedRow> MergeArrivals(const std::vector<ListedRow>& rows,
                                     const std::vector<ListedRow>& ordered, RowOrdering ordering,
                                     std::vector<std::size_t>& arrivedAt) {
    std::vector<ListedRow> merged;
    merged.reserve(rows.size() + ordered.size());
    arrivedAt.clear();
    arrivedAt.reserve(ordered.size());
    auto next = rows.begin();
    for (const ListedRow& row : ordered) {
        while (next != rows.end() && !Precedes(row, *next, ordering)) {
            merged.push_back(*next++);
        }
        arrivedAt.push_back(merged.size());
        merged.push_back(row);
    }
    merged.insert(merged.end(), next, rows.end());
    return merged;
}

}  // namespace korvana
