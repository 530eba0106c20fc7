#include "library/TrackTags.h"

#include <gtest/gtest.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

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

TEST(LengthText, MinutesAndSecondsThenHours) {
    EXPECT_EQ(LengthText(0), "");
    EXPECT_EQ(LengthText(-3), "");
    EXPECT_EQ(LengthText(5), "0:05");
    EXPECT_EQ(LengthText(215), "3:35");
    EXPECT_EQ(LengthText(3725), "1:02:05");
}

}  // namespace
}  // namespace korvana
