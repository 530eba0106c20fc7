#include "library/TrackTags.h"

#include "library/TagQueue.h"

#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <chrono>
#include <fstream>

#include "tests/support/TempDir.h"
#include "tools/media/Mp3Writer.h"
#include "util/LengthText.h"

namespace korvana {
namespace {

std::filesystem::path WriteSong(const std::filesystem::path& file, std::int64_t durationMs,
                                std::optional<mp3gen::Id3v1Tag> tag = std::nullopt) {
    mp3gen::Mp3Spec spec;
    spec.durationMs = durationMs;
    spec.tag = std::move(tag);
    EXPECT_TRUE(mp3gen::WriteMp3(file, spec));
    return file;
}

// An ID3v2 tag in front, written by the same library the program reads with.
void AddId3v2(const std::filesystem::path& file, const std::string& title,
              const std::string& artist) {
    TagLib::MPEG::File mp3(file.c_str());
    TagLib::ID3v2::Tag* tag = mp3.ID3v2Tag(true);
    tag->setTitle(TagLib::String(title, TagLib::String::UTF8));
    tag->setArtist(TagLib::String(artist, TagLib::String::UTF8));
    ASSERT_TRUE(mp3.save(TagLib::MPEG::File::ID3v2));
}

TEST(TrackTags, ReadsId3v1AndTheStreamsLengthAndBitrate) {
    test::TempDir dir;
    const auto file =
        WriteSong(dir.Path() / "a.mp3", 65'000,
                  mp3gen::Id3v1Tag{"Blue Hour", "Mira Kestrel", "Rain", "2026", "", 255});
    const TrackTags tags = ReadTrackTags(file);
    EXPECT_EQ(tags.title, "Blue Hour");
    EXPECT_EQ(tags.artist, "Mira Kestrel");
    EXPECT_EQ(tags.album, "Rain");
    EXPECT_EQ(tags.bitrateKbps, 128);
    EXPECT_EQ(tags.lengthSeconds, 65);
}

TEST(TrackTags, PrefersId3v2AndCutsLongTextsWholeCharacters) {
    test::TempDir dir;
    const auto file =
        WriteSong(dir.Path() / "b.mp3", 2'000, mp3gen::Id3v1Tag{"old", "old", "", "", "", 255});
    std::string longTitle;
    for (int i = 0; i < 200; ++i) {
        longTitle += "é";
    }
    AddId3v2(file, longTitle, "Zwëi");
    const TrackTags tags = ReadTrackTags(file);
    EXPECT_EQ(tags.artist, "Zwëi");
    EXPECT_LE(tags.title.size(), TrackTags::kMaxTagText);
    EXPECT_EQ(tags.title.size() % 2, 0u);
    EXPECT_EQ(tags.title, longTitle.substr(0, tags.title.size()));
}

TEST(TrackTags, WhatIsNotAudioGivesEmptyTags) {
    test::TempDir dir;
    std::ofstream(dir.Path() / "notes.mp3") << "not an mp3 at all";
    EXPECT_EQ(ReadTrackTags(dir.Path() / "notes.mp3"), TrackTags{});
    EXPECT_EQ(ReadTrackTags(dir.Path() / "missing.mp3"), TrackTags{});
    std::ofstream(dir.Path() / "empty.mp3");
    EXPECT_EQ(ReadTrackTags(dir.Path() / "empty.mp3").lengthSeconds, 0);
}

TEST(TagCache, ARescanReadsOnlyNewOrChangedFiles) {
    test::TempDir dir;
    const std::string a = WriteSong(dir.Path() / "a.mp3", 1'000).string();
    const std::string b = WriteSong(dir.Path() / "b.mp3", 1'000).string();
    TagCache cache;
    cache.TagsOf(a, {100, 1});
    cache.TagsOf(b, {100, 1});
    cache.TagsOf(a, {100, 1});
    EXPECT_EQ(cache.Reads(), 2u);
    cache.TagsOf(a, {100, 2});
    cache.TagsOf(b, {101, 1});
    EXPECT_EQ(cache.Reads(), 4u);
    cache.KeepOnly({b});
    cache.TagsOf(b, {101, 1});
    cache.TagsOf(a, {100, 2});
    EXPECT_EQ(cache.Reads(), 5u);
}

TEST(TrackTags, BytesInMemoryReadLikeTheFile) {
    test::TempDir dir;
    const auto file =
        WriteSong(dir.Path() / "a.mp3", 3'000, mp3gen::Id3v1Tag{"T", "A", "B", "", "", 255});
    AddId3v2(file, "Title two", "Artist two");
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TrackTags fromBytes = ReadTrackTagsFromBytes(bytes);
    EXPECT_EQ(fromBytes, ReadTrackTags(file));
    EXPECT_EQ(fromBytes.title, "Title two");
    EXPECT_EQ(ReadTrackTagsFromBytes(bytes.substr(0, 10)), TrackTags{});
}

// Nanoseconds since the epoch, `seconds` from now.
std::int64_t FileTimeIn(int seconds) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               (std::chrono::system_clock::now() + std::chrono::seconds(seconds))
                   .time_since_epoch())
        .count();
}

TEST(TagQueue, AScanIsListedWithWhatIsKnownAndTheRestIsReadAfterwards) {
    test::TempDir dir;
    const auto folder = dir.Path() / "dl";
    std::filesystem::create_directories(folder);
    WriteSong(folder / "a.mp3", 1'000, mp3gen::Id3v1Tag{"One", "Ann", "", "", "", 255});
    WriteSong(folder / "b.mp3", 2'000, mp3gen::Id3v1Tag{"Two", "Ben", "", "", "", 255});
    WriteSong(folder / "c.mp3", 3'000, mp3gen::Id3v1Tag{"Three", "Cy", "", "", "", 255});
    LibraryScanner scanner(folder);
    TagQueue queue;
    LibraryScan first = scanner.Scan();
    queue.Attach(first, FileTimeIn(60));
    ASSERT_EQ(first.entries.size(), 3u);
    EXPECT_EQ(first.entries[0].tags, TrackTags{});
    EXPECT_EQ(queue.ReadSome(2).size(), 2u);
    const std::vector<LibraryEntry> last = queue.ReadSome(10);
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].tags.title, "Three");
    EXPECT_FALSE(queue.Waiting());

    // Listed again as it is: nothing to read, the tags come from the cache.
    std::filesystem::rename(folder / "c.mp3", folder / "d.mp3");
    LibraryScan moved = scanner.Scan();
    ASSERT_TRUE(moved.changed);
    queue.Attach(moved, FileTimeIn(60));
    EXPECT_EQ(moved.entries[0].tags.artist, "Ann");
    EXPECT_TRUE(queue.Waiting());
    EXPECT_EQ(queue.ReadSome(10).size(), 1u);
    EXPECT_EQ(queue.Cache().Reads(), 4u);

    // A changed file keeps its last tags on screen until it is read again.
    WriteSong(folder / "a.mp3", 4'000, mp3gen::Id3v1Tag{"New", "Ann", "", "", "", 255});
    LibraryScan changed = scanner.Scan();
    queue.Attach(changed, FileTimeIn(60));
    const std::vector<LibraryEntry>& known = changed.changed ? changed.entries : changed.resized;
    ASSERT_FALSE(known.empty());
    EXPECT_EQ(known[0].tags.title, "One");
    const std::vector<LibraryEntry> reread = queue.ReadSome(10);
    ASSERT_EQ(reread.size(), 1u);
    EXPECT_EQ(reread[0].tags.title, "New");
    EXPECT_EQ(reread[0].tags.lengthSeconds, 4);
}

// A new file is read at once; one that keeps changing is read again only
// after it settles, even when no later scan reports it again.
TEST(TagQueue, AFileStillBeingWrittenIsReadAgainOnceItSettles) {
    test::TempDir dir;
    const auto folder = dir.Path() / "dl";
    std::filesystem::create_directories(folder);
    WriteSong(folder / "a.mp3", 1'000, mp3gen::Id3v1Tag{"One", "Ann", "", "", "", 255});
    LibraryScanner scanner(folder);
    TagQueue queue;
    LibraryScan first = scanner.Scan();
    queue.Attach(first, FileTimeIn(0));
    ASSERT_EQ(queue.ReadSome(10).size(), 1u);
    WriteSong(folder / "a.mp3", 2'000, mp3gen::Id3v1Tag{"Two", "Ann", "", "", "", 255});
    LibraryScan grown = scanner.Scan();
    ASSERT_EQ(grown.resized.size(), 1u);
    queue.Attach(grown, FileTimeIn(0));
    EXPECT_FALSE(queue.Waiting());
    EXPECT_EQ(grown.resized[0].tags.title, "One");
    LibraryScan quiet;
    queue.Attach(quiet, FileTimeIn(LibraryScanner::kSettleSeconds + 1));
    const std::vector<LibraryEntry> read = queue.ReadSome(10);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].size, grown.resized[0].size);
    EXPECT_EQ(read[0].tags.title, "Two");
    EXPECT_EQ(queue.Cache().Reads(), 2u);
}

TEST(LengthText, MinutesAndSecondsThenHours) {
    EXPECT_EQ(LengthText(0), "");
    EXPECT_EQ(LengthText(-3), "");
    EXPECT_EQ(LengthText(5), "0:05");
    EXPECT_EQ(LengthText(215), "3:35");
    EXPECT_EQ(LengthText(3725), "1:02:05");
}

}  // namespace
}  // namespace korvana
