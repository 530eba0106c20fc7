#include "search/SearchPageRules.h"

#include "util/AsciiCase.h"

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

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<std::string> MegabytesAsBytes(std::string_view megabytes) {
    const std::string_view text = TrimBlanks(megabytes);
    if (text.empty()) {
        return std::string();
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    // Seven whole digits reach the limit; more fraction digits than six add
    // less than a byte.
    if ((whole.empty() && fraction.empty()) || whole.size() > 7 || !AllDigits(whole) ||
        !AllDigits(fraction)) {
        return std::nullopt;
    }
    std::int64_t wholeMegabytes = 0;
    for (const char c : whole) {
        wholeMegabytes = wholeMegabytes * 10 + (c - '0');
    }
    std::int64_t fractionPart = 0;
    std::int64_t scale = 1;
    for (const char c : fraction.substr(0, 6)) {
        fractionPart = fractionPart * 10 + (c - '0');
        scale *= 10;
    }
    if (wholeMegabytes > kMaxSizeFilterMegabytes ||
        (wholeMegabytes == kMaxSizeFilterMegabytes && fractionPart > 0)) {
        return std::nullopt;
    }
    return std::to_string(wholeMegabytes * kBytesPerMegabyte +
                          fractionPart * kBytesPerMegabyte / scale);
}

std::string SizeFilterProblem(const FilterValues& filters) {
    std::string text;
    for (const Filter filter : {Filter::MinSize, Filter::MaxSize}) {
        if (!MegabytesAsBytes(FilterValue(filters, filter))) {
            text += text.empty() ? "" : "\n";
            text += "\"" + std::string(kFilterNames[static_cast<std::size_t>(filter)]) +
                    "\" must be a number of megabytes, such as 3 or 2.5 (at most " +
                    std::to_string(kMaxSizeFilterMegabytes) + ").";
        }
    }
    return text;
}

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
    start.terms.minSize = MegabytesAsBytes(FilterValue(filters, Filter::MinSize)).value_or("");
    start.terms.maxSize = MegabytesAsBytes(FilterValue(filters, Filter::MaxSize)).value_or("");
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
