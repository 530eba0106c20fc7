#include "util/WordFilter.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(WordFilter, ShowsARowHoldingEveryTypedWordInAnyCase) {
    const WordFilter filter("  beat\tLOVE ");
    EXPECT_TRUE(filter.Matches("Love Me Do - The Beatles.mp3"));
    EXPECT_FALSE(filter.Matches("Love Me Do.mp3"));
    EXPECT_FALSE(filter.Matches("The Beatles - Help.mp3"));
    // Bytes of UTF-8 names are matched as they are, never folded.
    EXPECT_TRUE(WordFilter("\xC3\xA9t\xC3\xA9").Matches("L'\xC3\xA9t\xC3\xA9 indien.mp3"));
    EXPECT_FALSE(WordFilter("\xC3\xA9t\xC3\xA9").Matches("L'\xC3\x89T\xC3\x89.mp3"));
}

TEST(WordFilter, NothingButSpacesShowsEveryRow) {
    EXPECT_TRUE(WordFilter(" \t ").Empty());
    EXPECT_TRUE(WordFilter("").Matches(""));
    EXPECT_TRUE(WordFilter(" ").Matches("anything"));
    EXPECT_EQ(WordFilter(" a  b "), WordFilter("A B"));
}

TEST(WordFilter, KnowsWhenTypingOnlyHidesMoreRows) {
    EXPECT_TRUE(WordFilter("beat").Narrows(WordFilter("bea")));
    EXPECT_TRUE(WordFilter("bea love").Narrows(WordFilter("bea")));
    EXPECT_TRUE(WordFilter("x").Narrows(WordFilter("")));
    EXPECT_FALSE(WordFilter("be").Narrows(WordFilter("bea")));
    EXPECT_FALSE(WordFilter("love").Narrows(WordFilter("bea")));
    EXPECT_FALSE(WordFilter("").Narrows(WordFilter("a")));
}

TEST(WordFilter, EachWordMayBeInEitherTextButNotAcrossThem) {
    const WordFilter filter("simone BLUES");
    EXPECT_TRUE(filter.Matches("Track 01 - Simone.mp3", "Pastel Blues"));
    EXPECT_TRUE(filter.Matches("", "Nina Simone\nPastel Blues"));
    EXPECT_FALSE(filter.Matches("Track 01.mp3", "Pastel Blues"));
    EXPECT_FALSE(WordFilter("onebl").Matches("Simone", "blues"));
    EXPECT_TRUE(WordFilter(" ").Matches("", ""));
}

}  // namespace
}  // namespace korvana
