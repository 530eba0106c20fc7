#include <gtest/gtest.h>

#include <fstream>

#include "library/SavedFile.h"
#include "library/TagStore.h"
#include "tests/support/TempDir.h"

namespace korvana::test {
namespace {

namespace fs = std::filesystem;

StoredTags Stored(const std::string& path, std::int64_t size, const std::string& artist) {
    return {path, {size, size * 1000}, {artist, "Title " + artist, "Album", 215, 128}};
}

TEST(TagStore, WhatIsSavedLoadsBackTheSame) {
    TempDir dir;
    const fs::path file = dir.Path() / "state" / "library-tags.json";
    const std::vector<StoredTags> files = {Stored("/music/a.mp3", 4000, "Mira Kestrel"),
                                           Stored("/music/späť \"b\".mp3", 12, ""),
                                           {"/music/c.txt", {0, 0}, {}}};
    ASSERT_TRUE(SaveTagStore(file, files));
    EXPECT_EQ(LoadTagStore(file), files);
    EXPECT_FALSE(fs::exists(file.string() + ".new"));
    EXPECT_TRUE(LoadTagStore(dir.Path() / "missing.json").empty());
}

// A file past the bound is refused whole, not cut to a prefix that parses.
TEST(TagStore, AFileLongerThanTheBoundLoadsNothing) {
    TempDir dir;
    const fs::path file = dir.Path() / "library-tags.json";
    const std::string text = TagStoreText({Stored("/music/a.mp3", 4000, "Mira")});
    std::ofstream(file, std::ios::binary) << text;
    EXPECT_EQ(LoadFileUpTo(file, text.size()), text);
    EXPECT_FALSE(LoadFileUpTo(file, text.size() - 1));
    std::ofstream(file, std::ios::binary | std::ios::app) << std::string(200'000, ' ');
    EXPECT_EQ(LoadFileUpTo(file, text.size() + 200'000), text + std::string(200'000, ' '));
    EXPECT_FALSE(LoadFileUpTo(file, text.size() + 199'999));
}

TEST(TagStore, UnreadableOrForeignTextGivesNothing) {
    EXPECT_FALSE(ReadTagStore(""));
    EXPECT_FALSE(ReadTagStore("{\"version\":1,\"files\":[[\"/a\",1,"));
    EXPECT_FALSE(ReadTagStore("[1,2,3]"));
    EXPECT_FALSE(ReadTagStore("{\"version\":2,\"files\":[]}"));
    EXPECT_FALSE(ReadTagStore("{\"version\":1,\"files\":{}}"));
    const std::string text = TagStoreText({Stored("/music/a.mp3", 4000, "Mira")});
    ASSERT_TRUE(ReadTagStore(text));
    EXPECT_FALSE(ReadTagStore(text.substr(0, text.size() - 3)));
    EXPECT_FALSE(ReadTagStore(std::string(kMostTagStoreBytes + 1, ' ')));
}

TEST(TagStore, BadEntriesAreSkippedAndOddValuesMadeSafe) {
    const std::string longText(400, 'x');
    const auto files = ReadTagStore(
        "{\"version\":1,\"files\":[[\"\",1,1,\"a\",\"b\",\"c\",1,1],"
        "[\"/neg\",-1,2,\"a\",\"b\",\"c\",1,1],[\"/short\",3,4,\"a\"],7,"
        "[\"/odd\",5,6,\"" +
        longText + "\",3,null,-4,\"128\"]]}");
    ASSERT_TRUE(files);
    ASSERT_EQ(files->size(), 1u);
    const StoredTags& odd = files->front();
    EXPECT_EQ(odd.file, "/odd");
    EXPECT_EQ(odd.state, (TagCache::FileState{5, 6}));
    EXPECT_EQ(odd.tags.artist, std::string(TrackTags::kMaxTagText, 'x'));
    EXPECT_EQ(odd.tags.title, "");
    EXPECT_EQ(odd.tags.lengthSeconds, 0);
    EXPECT_EQ(odd.tags.bitrateKbps, 0);
}

// What an earlier run read counts as known as long as the file is as it
// was; a file changed since is read again.
TEST(TagStore, ACacheTakesTheKeptTagsWithoutReadingAndKeepsWhatItKnows) {
    TempDir dir;
    const fs::path song = dir.Path() / "song.txt";
    std::ofstream(song) << "not audio";
    TagCache cache;
    cache.TagsOf("/music/known.mp3", {1, 1});
    cache.Remember({Stored("/music/a.mp3", 10, "Kept"),
                    Stored("/music/known.mp3", 9, "Old"),
                    {song.string(), {1, 1}, {"Stale", "", "", 0, 0}}});
    EXPECT_EQ(cache.Reads(), 1u);
    const TagCache::Known kept = cache.Find("/music/a.mp3", {10, 10'000});
    EXPECT_TRUE(kept.current);
    EXPECT_EQ(kept.tags.artist, "Kept");
    EXPECT_TRUE(cache.Find("/music/known.mp3", {1, 1}).current);
    EXPECT_EQ(cache.TagsOf(song.string(), {2, 2}), TrackTags{});
    EXPECT_EQ(cache.Reads(), 2u);
    EXPECT_EQ(cache.Entries().size(), 3u);
}

}  // namespace
}  // namespace korvana::test
