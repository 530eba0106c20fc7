#include <gtest/gtest.h>

#include <string>

#include "tools/sim/web/SimWebServer.h"
#include "web/HttpClient.h"
#include "web/archive/ArchiveAnswers.h"

namespace korvana {
namespace {

// The simulated archive, read with the program's own readers: what the
// offline demo and the end-to-end tests rely on.
class SimArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Start()); }
    std::string Fetch(const std::string& url) { return FetchPage(url, RedirectJoin::SearchFamily); }

    sim::SimWebServer server_;
};

TEST_F(SimArchiveTest, SearchListsOneItemPerArtistWithAMatchingTrackPageByPage) {
    const auto page = ReadArchiveSearch(Fetch(ArchiveSearchUrl(server_.BaseUrl(), "blue", 1)));
    ASSERT_TRUE(page);
    // "Localhost Blues", "Blue Hour" and "Blue Hour Reprise".
    EXPECT_EQ(page->numFound, 3);
    ASSERT_EQ(page->items.size(), 3u);
    EXPECT_EQ(page->items[0].identifier, "the-loopbacks");
    EXPECT_EQ(page->items[1].identifier, "mira-kestrel");
    EXPECT_EQ(page->items[2].creator, "Quiet Engines");

    const auto past = ReadArchiveSearch(Fetch(ArchiveSearchUrl(server_.BaseUrl(), "blue", 2)));
    ASSERT_TRUE(past);
    EXPECT_TRUE(past->items.empty());
    EXPECT_EQ(past->start, 50);
}

TEST_F(SimArchiveTest, AnItemsMp3FilesDownloadWholeAtTheirListedSize) {
    const auto files = ReadArchiveFiles(Fetch(ArchiveMetadataUrl(server_.BaseUrl(), "null-route")));
    ASSERT_TRUE(files);
    // "Packet Loss" is a .wma and the cover is an image: only one MP3.
    ASSERT_EQ(files->size(), 1u);
    const ArchiveFile& file = files->front();
    EXPECT_EQ(file.name, "Time To Live.mp3");
    EXPECT_EQ(file.size, 29190);
    EXPECT_FALSE(ArchiveLengthText(file).empty());
    const std::string body = Fetch(ArchiveDownloadUrl(server_.BaseUrl(), "null-route", file.name));
    EXPECT_EQ(body.size(), 29190u);
    EXPECT_EQ(body.substr(0, 2), "\xFF\xFB");

    EXPECT_FALSE(ReadArchiveFiles(Fetch(ArchiveMetadataUrl(server_.BaseUrl(), "nobody"))));
}

}  // namespace
}  // namespace korvana
