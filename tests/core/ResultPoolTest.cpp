#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/IdTable.h"
#include "core/ResultPool.h"

namespace korvana {
namespace {

CoreResult Described(std::int32_t id, std::string name, std::vector<CoreTag> tagsOnWire = {}) {
    CoreResult result;
    result.resultId = id;
    result.networkNumber = 2;
    result.name = std::move(name);
    result.size = 5'000'000'000LL;
    result.format = "mp3";
    result.comment = "a comment the list never shows";
    // Stored newest first, as the decoder does.
    result.tags = CoreTags(std::vector<CoreTag>(tagsOnWire.rbegin(), tagsOnWire.rend()));
    return result;
}

TEST(IdTable, AgreesWithAMapOverManyIdsOfEverySign) {
    IdTable table;
    std::unordered_map<std::int32_t, std::uint32_t> expected;
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> anyId(std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max());
    std::uniform_int_distribution<std::int32_t> nearId(-500, 5000);
    for (std::uint32_t i = 0; i < 20000; ++i) {
        const std::int32_t id = i % 3 == 0 ? anyId(random) : nearId(random);
        if (i % 2 == 0) {
            EXPECT_EQ(table.Set(id, i), expected.count(id) == 0);
            expected[id] = i;
        } else {
            EXPECT_EQ(table.Insert(id, i), expected.emplace(id, i).second);
        }
    }
    ASSERT_EQ(table.Size(), expected.size());
    for (const auto& [id, value] : expected) {
        ASSERT_EQ(table.Find(id), std::optional<std::uint32_t>(value)) << id;
    }
    for (std::int32_t id = 5001; id < 6000; ++id) {
        EXPECT_EQ(table.Find(id), std::nullopt);
    }
}

TEST(IdTable, HoldsTheExtremeIdsAndValues) {
    IdTable table;
    EXPECT_EQ(table.Find(0), std::nullopt);
    const std::int32_t low = std::numeric_limits<std::int32_t>::min();
    const std::int32_t high = std::numeric_limits<std::int32_t>::max();
    EXPECT_TRUE(table.Set(low, 0));
    EXPECT_TRUE(table.Set(high, IdTable::kMaxValue));
    EXPECT_TRUE(table.Insert(0));
    EXPECT_FALSE(table.Insert(0, 9));
    EXPECT_EQ(table.Find(low), std::optional<std::uint32_t>(0));
    EXPECT_EQ(table.Find(high), std::optional<std::uint32_t>(IdTable::kMaxValue));
    EXPECT_EQ(table.Find(0), std::optional<std::uint32_t>(0));
    EXPECT_EQ(table.Size(), 3u);
}

TEST(ResultPool, KeepsWhatTheListShowsAndTheNewestNumberTags) {
    ResultPool pool;
    pool.Add(Described(11, "first.mp3",
                       {{"Availability", 0, 3, ""},
                        {"bitrate", CoreTag::kTextType, 0, "320"},
                        {"BITRATE", 0, 128, ""},
                        {"availability", 0, 9, ""}}));
    pool.Add(Described(12, "bare.mp3"));
    const std::shared_ptr<const PooledResult> first = pool.Find(11);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->resultId, 11);
    EXPECT_EQ(first->networkNumber, 2);
    EXPECT_EQ(first->name, "first.mp3");
    EXPECT_EQ(first->size, 5'000'000'000LL);
    // The later tag on the wire is the newer one; a text tag has no number.
    EXPECT_EQ(first->sources, 9);
    EXPECT_EQ(first->bitrate, 128);
    const std::shared_ptr<const PooledResult> bare = pool.Find(12);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->sources, 1);
    EXPECT_EQ(bare->bitrate, 0);
    EXPECT_EQ(pool.Find(13), nullptr);
    EXPECT_EQ(pool.Size(), 2u);
}

TEST(ResultPool, ANewerRecordTakesTheIdAndTheOlderOneLivesOnWhereItIsHeld) {
    ResultPool pool;
    pool.Add(Described(5, "old.mp3"));
    const std::shared_ptr<const PooledResult> held = pool.Find(5);
    pool.Add(Described(5, "new.mp3"));
    EXPECT_EQ(pool.Find(5)->name, "new.mp3");
    EXPECT_EQ(held->name, "old.mp3");
    EXPECT_EQ(pool.Size(), 1u);
}

TEST(ResultPool, RecordsOutliveThePoolAndManyLongNamesStayIntact) {
    std::vector<std::shared_ptr<const PooledResult>> held;
    {
        ResultPool pool;
        for (std::int32_t id = 0; id < 3000; ++id) {
            // Long names of varying length fill many of the store's blocks.
            pool.Add(Described(id, std::string(300 + id % 211, static_cast<char>('a' + id % 26))));
        }
        for (std::int32_t id = 0; id < 3000; id += 7) {
            held.push_back(pool.Find(id));
        }
        pool.Add(Described(-1, ""));
        EXPECT_EQ(pool.Find(-1)->name, "");
    }
    for (const auto& record : held) {
        const std::int32_t id = record->resultId;
        EXPECT_EQ(record->name, std::string(300 + id % 211, static_cast<char>('a' + id % 26)));
    }
}

TEST(ResultPool, KeepsTheNewestArtistTitleAndAlbumTextTagsBesideTheName) {
    ResultPool pool;
    pool.Add(Described(21, "track01.mp3",
                       {{"Album", CoreTag::kTextType, 0, "Old Album"},
                        {"length", CoreTag::kTextType, 0, "3:35"},
                        {"ARTIST", CoreTag::kTextType, 0, "Nina Simone"},
                        {"title", 0, 7, ""},
                        {"album", CoreTag::kTextType, 0, "Pastel Blues"}}));
    pool.Add(Described(22, "", {{"Title", CoreTag::kTextType, 0, "Sinnerman"}}));
    pool.Add(Described(23, "untagged.mp3", {{"bitrate", 0, 192, ""}}));
    // A number tag named "title" holds no text; only the newest album counts.
    EXPECT_EQ(pool.Find(21)->Tags(), "Nina Simone\nPastel Blues");
    EXPECT_EQ(pool.Find(21)->name, "track01.mp3");
    EXPECT_EQ(pool.Find(22)->name, "");
    EXPECT_EQ(pool.Find(22)->Tags(), "Sinnerman");
    EXPECT_EQ(pool.Find(23)->Tags(), "");
    EXPECT_EQ(pool.Find(23)->bitrate, 192);
}

TEST(ResultPool, HostileTagsStayBoundedAndCannotJoinTwoTagsIntoOneWord) {
    ResultPool pool;
    const std::string huge(5000, 'x');
    pool.Add(Described(31, "long.mp3",
                       {{"artist", CoreTag::kTextType, 0, huge},
                        {"title", CoreTag::kTextType, 0, huge},
                        {"album", CoreTag::kTextType, 0, huge}}));
    pool.Add(Described(32, "lines.mp3",
                       {{"artist", CoreTag::kTextType, 0, "one\ntwo\rthree"},
                        {"title", CoreTag::kTextType, 0, std::string("a\0b", 3)}}));
    const std::string_view longTags = pool.Find(31)->Tags();
    EXPECT_EQ(longTags.size(), kMaxJoinedTags);
    EXPECT_EQ(longTags.substr(0, CoreTag::kMaxText + 1),
              std::string(CoreTag::kMaxText, 'x') + "\n");
    EXPECT_EQ(pool.Find(31)->name, "long.mp3");
    // Only the separators between tags are newlines.
    EXPECT_EQ(pool.Find(32)->Tags(), "one two three\na b");
}

}  // namespace
}  // namespace korvana
