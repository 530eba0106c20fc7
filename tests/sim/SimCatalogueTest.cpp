#include <gtest/gtest.h>

#include <string>

#include "tools/sim/Catalogue.h"
#include "tools/sim/GuiRequests.h"
#include "tools/sim/QueryMatch.h"
#include "tools/sim/SongFile.h"

namespace korvana::sim {
namespace {

QueryNode Term(std::uint8_t kind, std::string value) {
    return {kind, "Comment", std::move(value), {}};
}

QueryNode And(std::vector<QueryNode> children) {
    return {0, "", "", std::move(children)};
}

// The front end's query: format and media, then the given terms.
QueryNode FrontEndQuery(std::vector<QueryNode> terms) {
    std::vector<QueryNode> children = {Term(7, "mp3"), Term(8, "Audio")};
    children.insert(children.end(), terms.begin(), terms.end());
    return And(std::move(children));
}

const CatalogueEntry kSong{"Nina Calder", "Golden Rain", "Afterglow", "1999", 192, 200, 9};

bool Matches(std::vector<QueryNode> terms, std::uint64_t size = 4'800'000) {
    return QueryMatches(FrontEndQuery(std::move(terms)), kSong, size);
}

TEST(SimCatalogue, GenerationIsDeterministicAndListedEntriesComeFirst) {
    const Catalogue first(50, {});
    const Catalogue second(50, {kSong});
    EXPECT_EQ(second.Size(), 51u);
    EXPECT_EQ(second.At(0).title, "Golden Rain");
    for (std::size_t i = 0; i < 50; ++i) {
        EXPECT_EQ(EntryName(first.At(i)), EntryName(second.At(i + 1)));
        EXPECT_EQ(first.At(i).seconds, GeneratedEntry(i).seconds);
    }
    // Past the end entries still exist, for floods, and differ from each other.
    EXPECT_NE(EntryName(first.At(5000)) + first.At(5000).album,
              EntryName(first.At(5001)) + first.At(5001).album);
}

TEST(SimCatalogue, ParsesListedLinesAndSkipsBadOnes) {
    const std::vector<CatalogueEntry> entries = ParseCatalogueText(
        "# artist\ttitle\n"
        "Testband Zyx\tFirst Song\tDebut\t320\t5\t4\r\n"
        "no title here\n"
        "\n"
        "Odd\tRates\tX\tfast\t99999\n"
        "Ctl\x01"
        "Char\tName/With/Slash\n");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].artist, "Testband Zyx");
    EXPECT_EQ(entries[0].bitrate, 320);
    EXPECT_EQ(entries[0].seconds, 5);
    EXPECT_EQ(entries[0].availability, 4);
    EXPECT_EQ(entries[1].bitrate, 128);       // not a number: the default
    EXPECT_EQ(entries[1].seconds, 1200);      // clamped
    EXPECT_EQ(entries[2].artist, "CtlChar");  // control bytes dropped
}

TEST(SimCatalogue, SongFileIsAPlayableSilentMp3OfTheAnnouncedSize) {
    const std::string bytes = SongFileBytes(kSong);
    EXPECT_EQ(bytes.size(), SongFileSize(kSong));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFB);
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]) >> 4, 11);  // 192 kbit/s
    // 200 s at 192 kbit/s is about 4.8 MB.
    EXPECT_NEAR(static_cast<double>(bytes.size()), 200.0 * 192000 / 8, 48000.0);
    const std::string tag = bytes.substr(bytes.size() - 128);
    EXPECT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 11), "Golden Rain");
    EXPECT_EQ(tag.substr(33, 11), "Nina Calder");
    EXPECT_EQ(SongHash(kSong), SongHash(kSong));
    EXPECT_NE(SongHash(kSong), SongHash(GeneratedEntry(1)));
}

TEST(SimQueryMatch, KeywordsAndMp3Terms) {
    EXPECT_TRUE(Matches({Term(4, "golden")}));
    EXPECT_TRUE(Matches({Term(4, "RAIN  nina")}));
    EXPECT_TRUE(Matches({Term(4, "afterglow")}));  // the album counts too
    EXPECT_FALSE(Matches({Term(4, "golden sun")}));
    EXPECT_TRUE(Matches({Term(9, "calder"), Term(10, "gold"), Term(11, "after")}));
    EXPECT_FALSE(Matches({Term(9, "Golden")}));
    EXPECT_TRUE(Matches({Term(12, "192")}));
    EXPECT_FALSE(Matches({Term(12, "256")}));
    EXPECT_TRUE(Matches({Term(12, "fast")}));  // no digits: no limit
    EXPECT_FALSE(Matches({Term(7, "ogg")}));
}

TEST(SimQueryMatch, SizesAreMegabytes) {
    EXPECT_TRUE(Matches({Term(5, "4")}, 4 * 1048576));
    EXPECT_FALSE(Matches({Term(5, "4.5")}, 4 * 1048576));
    EXPECT_TRUE(Matches({Term(6, "5")}, 5 * 1048576));
    EXPECT_FALSE(Matches({Term(6, "5")}, 5 * 1048576 + 1));
}

TEST(SimQueryMatch, TreeOperatorsAndEmptyQueries) {
    const QueryNode either{1, "", "", {Term(9, "nobody"), Term(10, "rain")}};
    EXPECT_TRUE(QueryMatches(either, kSong, 1));
    const QueryNode butNot{2, "", "", {Term(10, "rain"), Term(9, "nina")}};
    EXPECT_FALSE(QueryMatches(butNot, kSong, 1));
    EXPECT_TRUE(QueryIsEmpty(And({Term(4, "golden")})));
    EXPECT_FALSE(QueryIsEmpty(FrontEndQuery({})));
}

}  // namespace
}  // namespace korvana::sim
