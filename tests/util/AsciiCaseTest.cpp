#include "util/AsciiCase.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(AsciiCase, FoldsOnlyTheAsciiLetters) {
    EXPECT_EQ(AsciiLowered("Content-LENGTH: 12"), "content-length: 12");
    // UTF-8 "É" and a Latin-1 byte stay as they are.
    EXPECT_EQ(AsciiLowered("\xC3\x89T\xC9"), "\xC3\x89t\xC9");
    EXPECT_TRUE(EqualsIgnoringCase("Availability", "aVAILABILITY"));
    EXPECT_FALSE(EqualsIgnoringCase("bitrate", "bitrates"));
    EXPECT_FALSE(EqualsIgnoringCase("\xC3\xA9", "\xC3\x89"));
    EXPECT_TRUE(StartsWithIgnoringCase("HTTP://127.0.0.1/", "http://"));
    EXPECT_FALSE(StartsWithIgnoringCase("http:", "http://"));
    EXPECT_TRUE(StartsWithIgnoringCase("anything", ""));
}

TEST(AsciiCase, ComparesLikeASortByLowerCaseBytes) {
    EXPECT_EQ(CompareIgnoringCase("apple", "APPLE"), 0);
    EXPECT_LT(CompareIgnoringCase("Apple", "banana"), 0);
    EXPECT_GT(CompareIgnoringCase("b", "A"), 0);
    EXPECT_LT(CompareIgnoringCase("Song", "song 2"), 0);  // a start sorts first
    EXPECT_GT(CompareIgnoringCase("\xC3\xA9", "z"), 0);   // bytes above ASCII after it
    // "[" lies between the capitals and the small letters: folded, it sorts
    // before the letters.
    EXPECT_LT(CompareIgnoringCase("[live]", "Alive"), 0);
}

}  // namespace
}  // namespace korvana
