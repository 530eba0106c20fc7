#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvana::test {

// The words of a console command line as the MLDonkey core splits them:
// blanks (space, tab, CR, LF) separate words; a word that starts with a
// double or single quote runs to the next such quote, and inside it a
// backslash makes the core skip the next character (both stay in the word).
// Empty when a quote is never closed, which the core refuses.
inline std::optional<std::vector<std::string>> CoreConsoleTokens(std::string_view line) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (blank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '"' || line[i] == '\'') {
            const char quote = line[i];
            const std::size_t start = ++i;
            while (i < line.size() && line[i] != quote) {
                i += (line[i] == '\\' && i + 1 < line.size()) ? 2 : 1;
            }
            if (i >= line.size()) {
                return std::nullopt;
            }
            words.emplace_back(line.substr(start, i - start));
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !blank(line[i])) {
            ++i;
        }
        words.emplace_back(line.substr(start, i - start));
    }
    return words;
}

}  // namespace korvana::test
