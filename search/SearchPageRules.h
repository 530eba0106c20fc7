#pragma once

#include <array>
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
// there is nothing to search for.
std::optional<SearchStart> MakeSearchStart(std::string keyword, const FilterValues& filters);

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
