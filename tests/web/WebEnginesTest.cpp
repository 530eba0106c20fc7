#include "web/WebEngines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WebTestSupport.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::RecordingSink;
using test::ScriptedFetcher;
using test::WebTestPage;

class WebEnginesTest : public ::testing::Test {
  protected:
    EngineContext Context() {
        EngineTuning tuning;
        tuning.engine1RefetchLimit = 5;
        tuning.engine1RefetchDelay = 1ms;
        return {EngineUrls{"http://e1.test", "http://e2.test", "http://e3.test"}, tuning, fetcher_,
                sink_, [this](int, DetailEntry entry) { started_.push_back(std::move(entry)); }};
    }
    int FetchesOf(const std::string& entry) const {
        int count = 0;
        for (const std::string& logged : fetcher_.Log()) {
            count += logged == entry ? 1 : 0;
        }
        return count;
    }

    ScriptedFetcher fetcher_;
    RecordingSink sink_;
    std::vector<DetailEntry> started_;
};

TEST_F(WebEnginesTest, Engine1PagesOnWhileANextPageIsLinked) {
    const std::string page1 = Engine1PageUrl("http://e1.test", "song", 1);
    EXPECT_EQ(page1,
              "http://e1.test/ot_agree.asp?query=song&first=1&pmore=more&tab=multi&cat=audio"
              "&adf=&agree=1");
    fetcher_.Serve(page1, WebTestPage("engine1_page.html"));
    fetcher_.Serve(Engine1PageUrl("http://e1.test", "song", 11), WebTestPage("engine1_last.html"));
    Engine1Task(Context(), 3, "song");
    EXPECT_EQ(fetcher_.Log(),
              (std::vector<std::string>{"SYSTEM " + page1,
                                        "SYSTEM " + Engine1PageUrl("http://e1.test", "song", 11)}));
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine1),
              (std::vector<std::string>{"Alpha - Song.mp3", "Beta - Track.mp3", "Gamma.mp3",
                                        "Delta Live", "Only One.ogg"}));
    EXPECT_EQ(sink_.Results()[0].searchId, 3);
}

TEST_F(WebEnginesTest, Engine1RefetchesAnIncompletePageThenScrapesIt) {
    const std::string url = Engine1PageUrl("http://e1.test", "song", 1);
    std::string incomplete = WebTestPage("engine1_incomplete.html");
    fetcher_.Serve(url, incomplete);
    Engine1Task(Context(), 1, "song");
    // The first fetch and 5 refetches, each followed by a pause.
    EXPECT_EQ(FetchesOf("SYSTEM " + url), 6);
    EXPECT_EQ(fetcher_.Pauses(), 5);
    // The page is cut inside the second block: its link survived, its title did not.
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine1),
              (std::vector<std::string>{"Alpha - Song.mp3", ".mp3"}));
}

TEST_F(WebEnginesTest, Engine1StopsRefetchingOnceComplete) {
    int served = 0;
    fetcher_.ServeOthers([&served](const std::string&) {
        return ++served < 3 ? WebTestPage("engine1_incomplete.html")
                            : WebTestPage("engine1_last.html");
    });
    Engine1Task(Context(), 1, "song");
    EXPECT_EQ(served, 3);
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine1), (std::vector<std::string>{"Only One.ogg"}));
}

TEST_F(WebEnginesTest, Engine1EndsOnAnEmptyPageOrAStoppedSearch) {
    Engine1Task(Context(), 1, "song");
    EXPECT_EQ(fetcher_.Log().size(), 1u);  // nothing arrived: no refetch
    EXPECT_TRUE(sink_.Results().empty());

    sink_.Stop(2);
    Engine1Task(Context(), 2, "song");
    EXPECT_EQ(fetcher_.Log().size(), 1u);
}

TEST_F(WebEnginesTest, Engine2PostsOnceAndStartsOneDetailPerEntry) {
    const std::string url = Engine2PageUrl("http://e2.test", "blue hour");
    EXPECT_EQ(url, "http://e2.test/sresult.aspx?txtSearch=blue hour&mp3s=MP3s");
    fetcher_.Serve(url, WebTestPage("engine2_results.html"));
    Engine2PageTask(Context(), 4, "blue hour");
    EXPECT_EQ(fetcher_.Log(), (std::vector<std::string>{"POST " + url}));
    ASSERT_EQ(started_.size(), 3u);
    EXPECT_EQ(started_[0].detailLink, "http://e2.test/dsong.aspx?id=101&t=Alpha&x=1");

    fetcher_.Serve(started_[0].detailLink, WebTestPage("engine2_detail.html"));
    Engine2DetailTask(Context(), 4, started_[0]);
    Engine2DetailTask(Context(), 4, started_[1]);  // no page: no result
    const auto results = sink_.Results();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].link, "http://files.test/audio/Alpha Song.WMA");
    EXPECT_EQ(results[0].name, "Alpha - Song.mp3");
    EXPECT_EQ(results[0].engine, WebEngineId::Engine2);
}

TEST_F(WebEnginesTest, Engine3SkipsTheLastPageAndThenListsTitles) {
    const std::string artist1 = Engine3ArtistPageUrl("http://e3.test", "song", 1);
    const std::string artist2 = Engine3ArtistPageUrl("http://e3.test", "song", 2);
    const std::string title1 = Engine3TitlePageUrl("http://e3.test", "song", 1);
    EXPECT_EQ(artist1, "http://e3.test/http_search/search4.php?artist=song&title=&page=1");
    EXPECT_EQ(title1, "http://e3.test/http_search/search4.php?artist=&title=song&page=1");
    fetcher_.Serve(artist1, WebTestPage("engine3_page.html"));
    fetcher_.Serve(artist2, WebTestPage("engine3_last.html"));
    fetcher_.Serve("http://e3.test/http_search/download.php?id=8&from=list",
                   WebTestPage("engine3_detail.html"));
    Engine3Task(Context(), 5, "song");

    const auto log = fetcher_.Log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0], "GET " + artist1);
    EXPECT_EQ(log[1], "GET http://e3.test/http_search/download.php?id=7");
    EXPECT_EQ(log[4], "GET " + artist2);
    EXPECT_EQ(log[5], "GET " + title1);  // an empty page ends the title listing
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine3), (std::vector<std::string>{"Beta - Track.mp3"}));
    EXPECT_EQ(sink_.Results()[0].link, "http://files.test/get.php?f=beta.mp3?id=3");
}

TEST_F(WebEnginesTest, DuplicatesAreHandedOnAsFound) {
    const std::string page =
        "<b>Next Page <a href=\"download.php?id=1\"><b>A</b></a>"
        "<a href=\"download.php?id=2\"><b>B</b></a>";
    fetcher_.Serve(Engine3ArtistPageUrl("http://e3.test", "x", 1), page);
    fetcher_.ServeOthers([](const std::string& url) {
        return url.find("download.php") != std::string::npos
                   ? "<a href=\"http://h/same.mp3\">Download Now</a>"
                   : "";
    });
    Engine3Task(Context(), 6, "x");
    const auto results = sink_.Results();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].link, results[1].link);
    EXPECT_EQ(results[0].name, "A.mp3");
    EXPECT_EQ(results[1].name, "B.mp3");
}

}  // namespace
}  // namespace korvana
