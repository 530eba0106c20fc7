#include "util/WordFilter.h"

#include <algorithm>

#include "util/AsciiCase.h"

namespace korvana {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `word` is already lowered; only the text needs folding.
bool ContainsLowered(std::string_view text, std::string_view word) {
    const auto found = std::search(text.begin(), text.end(), word.begin(), word.end(),
                                   [](char t, char w) { return Lower(t) == w; });
    return found != text.end() || word.empty();
}

}  // namespace

WordFilter::WordFilter(std::string_view typed) {
    std::size_t at = 0;
    while (at < typed.size()) {
        while (at < typed.size() && IsSpace(typed[at])) {
            ++at;
        }
        const std::size_t start = at;
        while (at < typed.size() && !IsSpace(typed[at])) {
            ++at;
        }
        if (at > start) {
            words_.push_back(AsciiLowered(typed.substr(start, at - start)));
        }
    }
}

bool WordFilter::Matches(std::string_view text) const {
    return std::all_of(words_.begin(), words_.end(),
                       [text](const std::string& word) { return ContainsLowered(text, word); });
}

bool WordFilter::Matches(std::string_view text, std::string_view more) const {
    return std::all_of(words_.begin(), words_.end(), [text, more](const std::string& word) {
        return ContainsLowered(text, word) || ContainsLowered(more, word);
    });
}

bool WordFilter::Narrows(const WordFilter& before) const {
    // Each earlier word must still be demanded, inside one of the new words.
    return std::all_of(before.words_.begin(), before.words_.end(), [this](const std::string& old) {
        return std::any_of(words_.begin(), words_.end(), [&old](const std::string& word) {
            return word.find(old) != std::string::npos;
        });
    });
}

}  // namespace korvana
