#include "web/EngineScrapers.h"

#include <gtest/gtest.h>

#include "WebTestSupport.h"

namespace korvana {
namespace {

using test::WebTestPage;

TEST(Engine1Scraper, SavedResultPage) {
    const std::string page = WebTestPage("engine1_page.html");
    ASSERT_FALSE(page.empty());
    EXPECT_TRUE(IsEngine1PageComplete(page));
    const Engine1Page scraped = ScrapeEngine1Page(page);
    ASSERT_EQ(scraped.results.size(), 4u);  // the block without a link gives none
    EXPECT_EQ(scraped.results[0].link, "http://music.test/songs/Alpha%20Song.mp3");
    EXPECT_EQ(scraped.results[0].name, "Alpha - Song.mp3");
    EXPECT_EQ(scraped.results[1].link, "http://music.test/get?path=dir/beta.mp3");
    EXPECT_EQ(scraped.results[1].name, "Beta - Track.mp3");
    EXPECT_EQ(scraped.results[2].link, "http://music.test/x%2fgamma.mp3");
    EXPECT_EQ(scraped.results[3].name, "Delta Live");
    EXPECT_TRUE(scraped.hasNextPage);

    const Engine1Page last = ScrapeEngine1Page(WebTestPage("engine1_last.html"));
    ASSERT_EQ(last.results.size(), 1u);
    EXPECT_EQ(last.results[0].link, "http://music.test/only.ogg");
    EXPECT_EQ(last.results[0].name, "Only One.ogg");
    EXPECT_FALSE(last.hasNextPage);
}

TEST(Engine1Scraper, Completeness) {
    EXPECT_FALSE(IsEngine1PageComplete(WebTestPage("engine1_incomplete.html")));
    EXPECT_TRUE(IsEngine1PageComplete(WebTestPage("engine1_last.html")));
    const std::string marks = "title=\"\"> <b>Next</b> ";
    EXPECT_TRUE(IsEngine1PageComplete(marks + "Showing Results 1 thru 10</b> of 10 (<a"));
    EXPECT_TRUE(IsEngine1PageComplete(marks + "Showing Results 1 thru 10</b> of  1,000 (<a"));
    EXPECT_FALSE(IsEngine1PageComplete(marks + "Showing Results 1 thru 11</b> of 10 (<a"));
    EXPECT_FALSE(IsEngine1PageComplete(marks + "Showing Results 1 thru </b> of 10 (<a"));
    EXPECT_FALSE(IsEngine1PageComplete(marks + "Showing Results 1 thru 1</b> of ,,(<a"));
    EXPECT_FALSE(IsEngine1PageComplete(marks + "Showing Results 1 thru 1</b> of 10"));
    EXPECT_FALSE(IsEngine1PageComplete("<b>Next</b> Showing Results 1 thru 1</b> of 1 (<a"));
    EXPECT_FALSE(IsEngine1PageComplete(""));
}

TEST(Engine2Scraper, SavedResultAndDetailPages) {
    const auto entries = ScrapeEngine2Page(WebTestPage("engine2_results.html"), "http://e2.test/");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].detailLink, "http://e2.test/dsong.aspx?id=101&t=Alpha&x=1");
    EXPECT_EQ(entries[0].title, "Alpha - Song");
    EXPECT_EQ(entries[1].detailLink, "http://e2.test/dsong.aspx?id=102");
    EXPECT_EQ(entries[1].title, "Beta - Track");  // past the stray "\">"
    EXPECT_EQ(entries[2].title, "Gamma");

    EXPECT_EQ(ScrapeEngine2DownloadLink(WebTestPage("engine2_detail.html")),
              "http://files.test/audio/Alpha Song.WMA");
    EXPECT_EQ(ScrapeEngine2DownloadLink("<p>Download: <a href=\"x.mp3\">"), "");
    EXPECT_EQ(ScrapeEngine2DownloadLink("Download : <a href=\"http://h/cut"), "http://h/cut");
}

TEST(Engine2Scraper, EntriesAtThePageEnd) {
    const auto unquoted = ScrapeEngine2Page("<a href=\"dsong.aspx?id=1", "b/");
    ASSERT_EQ(unquoted.size(), 1u);
    EXPECT_EQ(unquoted[0].detailLink, "b/dsong.aspx?id=1");
    EXPECT_EQ(unquoted[0].title, "");
    const auto untitled = ScrapeEngine2Page("dsong.aspx?id=2\">no end", "b/");
    ASSERT_EQ(untitled.size(), 1u);
    EXPECT_EQ(untitled[0].title, "");
}

TEST(Engine3Scraper, SavedListingPages) {
    const Engine3Page page =
        ScrapeEngine3Page(WebTestPage("engine3_page.html"), "http://e3.test/http_search/");
    EXPECT_TRUE(page.hasNextPage);
    ASSERT_EQ(page.entries.size(), 3u);
    EXPECT_EQ(page.entries[0].detailLink, "http://e3.test/http_search/download.php?id=7");
    EXPECT_EQ(page.entries[0].title, "Alpha - Song");
    EXPECT_EQ(page.entries[1].detailLink, "http://e3.test/http_search/download.php?id=8&from=list");
    EXPECT_EQ(page.entries[2].title, "");

    // The last page of a listing gives nothing at all.
    const Engine3Page last = ScrapeEngine3Page(WebTestPage("engine3_last.html"), "b/");
    EXPECT_FALSE(last.hasNextPage);
    EXPECT_TRUE(last.entries.empty());
    EXPECT_FALSE(ScrapeEngine3Page("", "b/").hasNextPage);
}

TEST(Engine3Scraper, DownloadNowLink) {
    EXPECT_EQ(ScrapeEngine3DownloadLink(WebTestPage("engine3_detail.html")),
              "http://files.test/get.php?f=beta.mp3?id=3");
    EXPECT_EQ(ScrapeEngine3DownloadLink("Download Now"), "");
    EXPECT_EQ(ScrapeEngine3DownloadLink("\">Download Now"), "");
    EXPECT_EQ(ScrapeEngine3DownloadLink("no marker \"here\""), "");
    EXPECT_EQ(ScrapeEngine3DownloadLink("<a href=x.mp3>Download Now"), "");
}

TEST(Scrapers, EntriesPerPageAreBounded) {
    std::string page;
    for (std::size_t i = 0; i < kMaxEntriesPerPage + 5; ++i) {
        page += "<a href=\"dsong.aspx?id=1\">t</a>";
    }
    EXPECT_EQ(ScrapeEngine2Page(page, "b/").size(), kMaxEntriesPerPage);
}

}  // namespace
}  // namespace korvana
