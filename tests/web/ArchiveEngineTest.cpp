#include <gtest/gtest.h>

#include <string>

#include "tests/web/WebTestSupport.h"
#include "web/archive/ArchiveAnswers.h"
#include "web/archive/ArchiveEngine.h"

namespace korvana {
namespace {

constexpr const char* kBase = "http://127.0.0.1:4100";

std::string SearchAnswer(int numFound, int start, const std::string& docs) {
    return R"({"response":{"numFound":)" + std::to_string(numFound) + R"(,"start":)" +
           std::to_string(start) + R"(,"docs":[)" + docs + "]}}";
}

std::string Item(const std::string& identifier) {
    return R"({"identifier":")" + identifier + R"(","title":"T","creator":"C"})";
}

class ArchiveEngineTest : public ::testing::Test {
  protected:
    void ServeSearch(int page, std::string answer) {
        fetcher_.Serve(ArchiveSearchUrl(kBase, "blue", page), std::move(answer));
    }
    void ServeItem(const std::string& identifier, std::string answer) {
        fetcher_.Serve(ArchiveMetadataUrl(kBase, identifier), std::move(answer));
    }
    bool Run(ArchiveSearchLimits limits = {}) {
        return ArchiveEngineTask(fetcher_, sink_, kBase, 7, "blue", limits);
    }
    int Fetches() const { return static_cast<int>(fetcher_.Log().size()); }

    test::ScriptedFetcher fetcher_;
    test::RecordingSink sink_;
};

TEST_F(ArchiveEngineTest, ListsEveryMp3OfEveryItemWithItsSizeAndLength) {
    ServeSearch(1, SearchAnswer(3, 0, Item("a") + "," + Item("b")));
    ServeSearch(2, SearchAnswer(3, 50, Item("c")));
    ServeItem("a", R"({"files":[{"name":"One.mp3","format":"VBR MP3","size":"1000","length":"61"},
                                {"name":"cover.jpg","format":"JPEG","size":"5"}]})");
    ServeItem("b", R"({"files":[{"name":"d/Two Ä.mp3","format":"MP3"}]})");
    ServeItem("c", "<html>busy</html>");

    EXPECT_TRUE(Run());

    const auto results = sink_.Results();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].link, std::string(kBase) + "/download/a/One.mp3");
    EXPECT_EQ(results[0].knownSize, 1000);
    EXPECT_EQ(results[0].info, "1:01");
    EXPECT_EQ(results[0].engine, WebEngineId::Archive);
    // Without a size, the result is probed like any web result.
    EXPECT_EQ(results[1].name, "Two Ä.mp3");
    EXPECT_EQ(results[1].knownSize, -1);
    // Two search pages and three items: the third page is never asked for.
    EXPECT_EQ(Fetches(), 5);
}

TEST_F(ArchiveEngineTest, AHugeCountIsBoundedByPagesAndItems) {
    std::string docs;
    for (int i = 0; i < 50; ++i) {
        docs += (i ? "," : "") + Item("i" + std::to_string(i));
    }
    fetcher_.ServeOthers([&](const std::string& url) {
        return url.find("advancedsearch") != std::string::npos ? SearchAnswer(2000000000, 0, docs)
                                                               : std::string(R"({"files":[]})");
    });
    EXPECT_TRUE(Run({.maxPages = 3, .maxItems = 70}));
    // Two pages reach 70 items; the 71st is not fetched.
    EXPECT_EQ(Fetches(), 2 + 70);
}

TEST_F(ArchiveEngineTest, AStoppedSearchFetchesNothingMore) {
    ServeSearch(1, SearchAnswer(2, 0, Item("a") + "," + Item("b")));
    fetcher_.ServeOthers([this](const std::string&) {
        sink_.Stop(7);
        return std::string(R"({"files":[{"name":"x.mp3","format":"MP3","size":"1"}]})");
    });
    EXPECT_TRUE(Run());
    EXPECT_EQ(Fetches(), 2);
    EXPECT_TRUE(sink_.Results().empty());
}

}  // namespace
}  // namespace korvana
