#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// The words typed into a list's filter box. A row stays shown when each word
// appears somewhere in its text, ASCII letter case ignored, so "beat love"
// keeps "Love Me Do - The Beatles.mp3". Typing a word longer, or adding one,
// only ever hides more rows, which lets a list test just the rows still shown
// instead of every row on each keystroke.
class WordFilter {
  public:
    WordFilter() = default;
    explicit WordFilter(std::string_view typed);

    // Nothing typed but spaces: every row is shown.
    bool Empty() const { return words_.empty(); }
    bool Matches(std::string_view text) const;
    // Each word appears in `text` or in `more`: a word never spans the two.
    bool Matches(std::string_view text, std::string_view more) const;
    // Every row this filter shows was also shown by `before`.
    bool Narrows(const WordFilter& before) const;

    bool operator==(const WordFilter&) const = default;

  private:
    std::vector<std::string> words_;  // lowered, in the order typed
};

}  // namespace korvana
