#include "web/LinkText.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(DecodeLink, EscapesAreDecodedOneAfterAnotherInTableOrder) {
    EXPECT_EQ(DecodeLink("a%252Fb"), "a/b");    // %25 first, then the %2F it made
    EXPECT_EQ(DecodeLink("a%2520b"), "a%20b");  // %20 was done before %25 made it
    EXPECT_EQ(DecodeLink("%253A%2540"), ":@");  // what %25 makes is decoded later on
    EXPECT_EQ(DecodeLink("%2525"), "%25");      // one pass per escape
}

TEST(DecodeLink, OnlyTheTableAndOnlyUpperCase) {
    EXPECT_EQ(DecodeLink("x%2fy%2Fz"), "x%2fy/z");
    EXPECT_EQ(DecodeLink("%41%30%7F%5A"), "%41%30%7F%5A");
    EXPECT_EQ(DecodeLink("%0A%0D%20%21%2F%3A%3F%40%5B%60%7B%7E"), "\n\r !/:?@[`{~");
    EXPECT_EQ(DecodeLink("100%"), "100%");
    EXPECT_EQ(DecodeLink(""), "");
}

TEST(ResultNames, DetailPageExtensions) {
    EXPECT_EQ(DetailResultName("Song", "http://h/a/Song.WMA", WmaRule::BecomesMp3), "Song.mp3");
    EXPECT_EQ(DetailResultName("Song", "http://h/a/Song.WMA", WmaRule::Keep), "Song.WMA");
    EXPECT_EQ(DetailResultName("Song", "http://h/get.mp3?id=3", WmaRule::Keep), "Song.mp3");
    EXPECT_EQ(DetailResultName("Song", "http://h/get.wma?id=3", WmaRule::BecomesMp3), "Song.wma");
    EXPECT_EQ(DetailResultName("Song", "http://h/x.ogg", WmaRule::Keep), "Song.ogg");
    EXPECT_EQ(DetailResultName("Song", "http://h/x.m?a", WmaRule::Keep), "Song.m?a");
    // No dot, or the last dot belongs to the host or a folder: the title alone.
    EXPECT_EQ(DetailResultName("Song", "stream", WmaRule::Keep), "Song");
    EXPECT_EQ(DetailResultName("Song", "http://h.test/stream?id=1", WmaRule::Keep), "Song");
}

TEST(ResultNames, ListedNamesKeepTheWholeExtension) {
    EXPECT_EQ(ListedResultName("Song", "http://h/a.mp3?id=3"), "Song.mp3?id=3");
    EXPECT_EQ(ListedResultName("Song", "http://h/a.WMA"), "Song.WMA");
    EXPECT_EQ(ListedResultName("Song", "http://h.test/a"), "Song");
    EXPECT_EQ(ListedResultName("", "x.mp3"), ".mp3");
}

}  // namespace
}  // namespace korvana
