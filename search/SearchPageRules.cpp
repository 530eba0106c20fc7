#include "search/SearchPageRules.h"

#include "core/AsciiCase.h"

#include <algorithm>

namespace korvana {
namespace {

const std::string& FilterValue(const FilterValues& filters, Filter filter) {
    return filters[static_cast<std::size_t>(filter)];
}

// The first row in [from, rowCount) whose name holds `lowered`, or -1.
int Scan(int from, int rowCount, const std::function<std::string(int)>& nameAt,
         const std::string& lowered) {
    for (int row = from; row < rowCount; ++row) {
        if (AsciiLowered(nameAt(row)).find(lowered) != std::string::npos) {
            return row;
        }
    }
    return -1;
}

}  // namespace

std::optional<SearchStart> MakeSearchStart(std::string keyword, const FilterValues& filters) {
    if (AsciiLowered(keyword) == AsciiLowered(kKeywordPlaceholder)) {
        keyword.clear();
    }
    SearchStart start;
    start.term = keyword;
    if (keyword.empty()) {
        for (Filter filter : {Filter::Artist, Filter::Title, Filter::Album, Filter::Bitrate,
                              Filter::MinSize, Filter::MaxSize}) {
            if (!FilterValue(filters, filter).empty()) {
                start.term = FilterValue(filters, filter);
                break;
            }
        }
        if (start.term.empty()) {
            return std::nullopt;
        }
    }
    start.terms.keywords = keyword;
    start.terms.minSize = FilterValue(filters, Filter::MinSize);
    start.terms.maxSize = FilterValue(filters, Filter::MaxSize);
    start.terms.bitrate = FilterValue(filters, Filter::Bitrate);
    start.terms.artist = FilterValue(filters, Filter::Artist);
    start.terms.title = FilterValue(filters, Filter::Title);
    start.terms.album = FilterValue(filters, Filter::Album);
    return start;
}

FindOutcome FindRow(int rowCount, const std::function<std::string(int)>& nameAt,
                    std::string_view text, int findPosition) {
    FindOutcome outcome;
    if (rowCount <= 0) {
        return outcome;
    }
    const std::string lowered = AsciiLowered(text);
    const int from = std::max(findPosition + 1, 0);
    outcome.row = Scan(from, rowCount, nameAt, lowered);
    if (outcome.row >= 0) {
        return outcome;
    }
    if (from == 0) {
        outcome.status = kFindNotFound;
        return outcome;
    }
    outcome.status = kFindWrapped;
    outcome.row = Scan(0, rowCount, nameAt, lowered);
    if (outcome.row < 0) {
        outcome.status = kFindNotFound;
    }
    return outcome;
}

}  // namespace korvana
