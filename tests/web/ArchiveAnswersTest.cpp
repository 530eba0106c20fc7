#include <gtest/gtest.h>

#include <string>

#include "web/archive/ArchiveAnswers.h"

namespace korvana {
namespace {

TEST(ArchiveAddresses, TermsTravelAsOneQueryValueAndNamesSegmentBySegment) {
    EXPECT_EQ(ArchiveSearchUrl("https://archive.org/", "Miles & Bo/Ünï", 2),
              "https://archive.org/advancedsearch.php?q=Miles%20%26%20Bo%2F%C3%9Cn%C3%AF"
              "%20AND%20mediatype%3A%28audio%29&fl%5B%5D=identifier&fl%5B%5D=title"
              "&fl%5B%5D=creator&rows=50&page=2&output=json");
    EXPECT_EQ(ArchiveMetadataUrl("http://127.0.0.1:4100", "jazz-1"),
              "http://127.0.0.1:4100/metadata/jazz-1");
    EXPECT_EQ(ArchiveDownloadUrl("http://127.0.0.1:4100", "jazz-1", "cd 1/01 Är?#.mp3"),
              "http://127.0.0.1:4100/download/jazz-1/cd%201/01%20%C3%84r%3F%23.mp3");
}

TEST(ArchiveSearchAnswer, ReadsItemsAndSkipsWhatCannotNameAnItem) {
    const auto page = ReadArchiveSearch(R"({"response":{"numFound":123456789012,"start":50,"docs":[
        {"identifier":"jazz-1","title":"Blue Ünïcode","creator":["Ann","Bo"]},
        {"identifier":"no-title"},
        {"identifier":"../etc"},
        {"identifier":42,"title":"number id"},
        {"title":"no id"},
        "not an object"]}})");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->numFound, 123456789012);
    EXPECT_EQ(page->start, 50);
    ASSERT_EQ(page->items.size(), 2u);
    EXPECT_EQ(page->items[0].title, "Blue Ünïcode");
    EXPECT_EQ(page->items[0].creator, "Ann");
    EXPECT_EQ(page->items[1].identifier, "no-title");
    EXPECT_EQ(page->items[1].title, "");
}

TEST(ArchiveSearchAnswer, RefusesWhatIsNotASearchAnswer) {
    for (const char* answer :
         {"", "null", "[]", R"({"response":{}})", R"({"response":{"docs":{}}})",
          R"({"response":{"docs":[)", "<html>busy</html>"}) {
        EXPECT_FALSE(ReadArchiveSearch(answer)) << answer;
    }
    const auto negative = ReadArchiveSearch(R"({"response":{"numFound":-5,"docs":[]}})");
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->numFound, 0);
}

TEST(ArchiveSearchAnswer, KeepsAtMostItsBoundOfItemsAndTextLength) {
    std::string answer = R"({"response":{"docs":[)";
    for (std::size_t i = 0; i < kMaxArchiveItems + 20; ++i) {
        answer += R"({"identifier":"i)" + std::to_string(i) + R"(","title":")" +
                  std::string(kMaxArchiveText + 100, 'x') + R"("},)";
    }
    answer.back() = ']';
    answer += "}}";
    const auto page = ReadArchiveSearch(answer);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->items.size(), kMaxArchiveItems);
    EXPECT_EQ(page->items.back().title.size(), kMaxArchiveText);
}

TEST(ArchiveMetadataAnswer, TakesTheMp3FilesWithTheirSizesLengthsAndTags) {
    const auto files = ReadArchiveFiles(R"({"files":[
        {"name":"01 Song.mp3","format":"VBR MP3","size":"4012345","length":"215.32",
         "title":"Song","creator":"Ann","album":"Blue"},
        {"name":"cover.jpg","format":"JPEG","size":"100"},
        {"name":"cd1/02 Zwëi.mp3","format":"128Kbps MP3","size":12,"length":"1:02:05"},
        {"name":"03.mp3","format":"MP3","size":"big","length":"soon"},
        {"name":"../../evil.mp3","format":"MP3"},
        {"name":"/abs.mp3","format":"MP3"},
        {"name":"a//b.mp3","format":"MP3"},
        {"name":"x.ogg","format":"Ogg Vorbis"}]})");
    ASSERT_TRUE(files);
    ASSERT_EQ(files->size(), 3u);
    EXPECT_EQ((*files)[0].size, 4012345);
    EXPECT_EQ(ArchiveLengthText((*files)[0]), "3:35");
    EXPECT_EQ((*files)[0].album, "Blue");
    EXPECT_EQ(ArchiveResultName((*files)[1]), "02 Zwëi.mp3");
    EXPECT_EQ(ArchiveLengthText((*files)[1]), "1:02:05");
    EXPECT_EQ((*files)[2].size, -1);
    EXPECT_EQ(ArchiveLengthText((*files)[2]), "");
    EXPECT_FALSE(ReadArchiveFiles(R"({"files":"none"})"));
    EXPECT_FALSE(ReadArchiveFiles(std::string(kMaxArchiveAnswerBytes + 1, ' ')));
}

}  // namespace
}  // namespace korvana
