#include "tools/sim/QueryMatch.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "util/AsciiCase.h"

namespace korvana::sim {
namespace {

constexpr double kMegabyte = 1048576.0;

bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle) {
    return AsciiLowered(haystack).find(AsciiLowered(needle)) != std::string::npos;
}

// A leading decimal number, as a core reads a typed value; absent when there
// are no digits.
std::optional<double> LeadingNumber(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

bool KeywordsMatch(std::string_view keywords, const CatalogueEntry& entry) {
    const std::string haystack = AsciiLowered(EntryName(entry) + " " + entry.album);
    std::size_t pos = 0;
    const std::string words = AsciiLowered(keywords);
    while (pos < words.size()) {
        const std::size_t start = words.find_first_not_of(" \t", pos);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end = std::min(words.find_first_of(" \t", start), words.size());
        if (haystack.find(words.substr(start, end - start)) == std::string::npos) {
            return false;
        }
        pos = end;
    }
    return true;
}

bool TermMatches(const QueryNode& term, const CatalogueEntry& entry, std::uint64_t size) {
    const std::optional<double> number = LeadingNumber(term.value);
    switch (term.kind) {
        case 4:
            return KeywordsMatch(term.value, entry);
        case 5:
            return !number || static_cast<double>(size) >= *number * kMegabyte;
        case 6:
            return !number || static_cast<double>(size) <= *number * kMegabyte;
        case 7:
            return term.value.empty() || ContainsIgnoringCase("mp3", term.value);
        case 8:
            return term.value.empty() || ContainsIgnoringCase("Audio", term.value);
        case 9:
            return ContainsIgnoringCase(entry.artist, term.value);
        case 10:
            return ContainsIgnoringCase(entry.title, term.value);
        case 11:
            return ContainsIgnoringCase(entry.album, term.value);
        case 12:
            return !number || entry.bitrate >= *number;
        default:
            return false;
    }
}

}  // namespace

bool QueryMatches(const QueryNode& query, const CatalogueEntry& entry, std::uint64_t size) {
    const auto matches = [&](const QueryNode& child) { return QueryMatches(child, entry, size); };
    switch (query.kind) {
        case 0:
        case 13:
            return std::all_of(query.children.begin(), query.children.end(), matches);
        case 1:
            return std::any_of(query.children.begin(), query.children.end(), matches);
        case 2:
            return query.children.size() == 2 && matches(query.children[0]) &&
                   !matches(query.children[1]);
        case 3:
            return !query.children.empty() && matches(query.children[0]);
        default:
            return TermMatches(query, entry, size);
    }
}

bool QueryIsEmpty(const QueryNode& query) {
    return query.kind == 0 && query.children.size() < 2;
}

}  // namespace korvana::sim
