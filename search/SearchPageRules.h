#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/OutboundMessages.h"

namespace korvana {

// What the keyword box shows while nothing is typed.
inline constexpr std::string_view kKeywordPlaceholder = "Enter a keyword";

// The filter rows, top to bottom.
enum class Filter : int { MinSize = 0, MaxSize, Bitrate, Artist, Title, Album };
inline constexpr std::array<std::string_view, 6> kFilterNames = {
    "Min Size (MB)", "Max Size (MB)", "MP3 Bitrate (Kbps)", "MP3 Artist", "MP3 Title", "MP3 Album"};
using FilterValues = std::array<std::string, 6>;

// A search ready to start: the term for the tab and the web engines, and
// what goes to the core.
struct SearchStart {
    std::string term;
    SearchTerms terms;
};

// The keyword as typed counts as empty when it is the placeholder in any
// letter case. Without a keyword the term is the first filled filter of
// artist, title, album, bitrate, minimum size, maximum size. Nothing when
// there is nothing to search for. The size filters go to the core in bytes
// (MegabytesAsBytes); one that is not a number is left out, so check them
// with SizeFilterProblem first.
std::optional<SearchStart> MakeSearchStart(std::string keyword, const FilterValues& filters);

// The size rows are in megabytes of 1024 x 1024 bytes (as the rates are in
// KB/s of 1024 bytes); the core reads sizes in bytes.
inline constexpr std::int64_t kBytesPerMegabyte = 1024 * 1024;
inline constexpr std::int64_t kMaxSizeFilterMegabytes = 1000000;
inline constexpr std::string_view kSizeFilterCaption = "Size filter";

// A size row's text (blanks around it ignored) as a number of bytes in
// decimal: digits with at most one decimal point, up to
// kMaxSizeFilterMegabytes, the bytes rounded down. An empty or blank text
// gives an empty text (no size term); anything else that is not such a
// number gives nothing.
std::optional<std::string> MegabytesAsBytes(std::string_view megabytes);

// The message for size rows that are not numbers of megabytes; empty when
// both are fine.
std::string SizeFilterProblem(const FilterValues& filters);

inline constexpr std::string_view kFindNotFound = "   Term(s)       not found";
inline constexpr std::string_view kFindWrapped = "   Search        wrapped";

struct FindOutcome {
    int row = -1;        // the row found, -1 for none
    std::string status;  // what the find status shows
};

// Looks for the first row after `findPosition` (-1: from the top) whose name,
// in small letters, contains `text` in small letters; past the end it wraps
// to the top once.
FindOutcome FindRow(int rowCount, const std::function<std::string(int)>& nameAt,
                    std::string_view text, int findPosition);

}  // namespace korvana
