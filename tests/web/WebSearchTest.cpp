#include "web/WebSearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <iterator>
#include <set>
#include <string>

#include "WebTestSupport.h"
#include "tools/sim/web/SimWebServer.h"
#include "web/HttpClient.h"
#include "web/WebEngineSettings.h"
#include "web/WebResultSink.h"
#include "web/engines/EngineDefinition.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::RecordingSink;

WebSearchOptions QuickOptions() {
    WebSearchOptions options;
    options.http.idleTimeout = 2000ms;
    options.tuning.engine1RefetchDelay = 1ms;
    options.tuning.engine1RefetchLimit = 20;
    return options;
}

std::set<std::string> Sorted(const std::vector<std::string>& names) {
    return {names.begin(), names.end()};
}

class WebSearchTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Start()); }
    EngineUrls SimUrls() const { return {server_.BaseUrl(), server_.BaseUrl(), server_.BaseUrl()}; }
    std::vector<std::string> TargetsStartingWith(const std::string& prefix) const {
        std::vector<std::string> targets;
        for (const auto& request : server_.Requests()) {
            if (request.target.starts_with(prefix)) {
                targets.push_back(request.target);
            }
        }
        return targets;
    }

    sim::SimWebServer server_;
    RecordingSink sink_;
};

TEST_F(WebSearchTest, ThreeEnginesFindTheSimulatedCatalogue) {
    WebSearch search(SimUrls(), sink_, QuickOptions());
    search.StartSearchTasks(7, "loop");
    EXPECT_EQ(sink_.Opened(), std::vector<int>{7});
    ASSERT_TRUE(search.WaitUntilIdle(30s));

    const std::set<std::string> expected = {
        "The Loopbacks - Localhost Blues.mp3", "The Loopbacks - Port Forty One Hundred.mp3",
        "The Loopbacks - Connection Refused.mp3", "Quiet Engines - Idle Loop.mp3",
        "Static Garden - Loopback Lullaby.mp3"};
    EXPECT_EQ(Sorted(sink_.NamesOf(WebEngineId::Engine1)), expected);
    EXPECT_EQ(Sorted(sink_.NamesOf(WebEngineId::Engine2)), expected);
    EXPECT_EQ(Sorted(sink_.NamesOf(WebEngineId::Engine3)), expected);
    // Engine 3 took the artist listing before the title listing.
    const auto engine3 = sink_.NamesOf(WebEngineId::Engine3);
    EXPECT_TRUE(engine3[0].starts_with("The Loopbacks"));

    for (const auto& result : sink_.Results()) {
        EXPECT_EQ(result.searchId, 7);
        const std::string header = FetchHeader(result.link);
        EXPECT_NE(header.find("Content-Length: "), std::string::npos) << result.link;
    }
}

TEST_F(WebSearchTest, OnlyTheSecondEngineRenamesWma) {
    WebSearch search(SimUrls(), sink_, QuickOptions());
    search.StartSearchTasks(1, "packet");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine2),
              std::vector<std::string>{"Null Route - Packet Loss.mp3"});
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine1),
              std::vector<std::string>{"Null Route - Packet Loss.wma"});
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine3),
              std::vector<std::string>{"Null Route - Packet Loss.wma"});
    // All three found the same link, and each handed it on.
    const auto results = sink_.Results();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].link, results[1].link);
    EXPECT_EQ(results[1].link, results[2].link);
}

TEST_F(WebSearchTest, SpacesTravelAsPercentTwenty) {
    WebSearch search(SimUrls(), sink_, QuickOptions());
    search.StartSearchTasks(2, "blue hour");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    bool posted = false;
    for (const auto& request : server_.Requests()) {
        if (request.method == "POST") {
            posted = true;
            EXPECT_EQ(request.target, "/sresult.aspx");
            EXPECT_EQ(request.body, "txtSearch=blue%20hour&mp3s=MP3s");
        }
    }
    EXPECT_TRUE(posted);
    EXPECT_EQ(
        TargetsStartingWith("/http_search/search4.php?artist=blue%20hour&title=&page=1").size(),
        1u);
    EXPECT_EQ(TargetsStartingWith("/ot_agree.asp?query=blue%20hour&first=1&").size(), 1u);
    EXPECT_EQ(Sorted(sink_.NamesOf(WebEngineId::Engine2)),
              (std::set<std::string>{"Mira Kestrel - Blue Hour.mp3",
                                     "Quiet Engines - Blue Hour Reprise.mp3"}));
}

TEST_F(WebSearchTest, Engine1RefetchesPagesServedCutShort) {
    sim::SimWebFaults faults;
    faults.engine1IncompleteTimes = 2;
    server_.SetFaults(faults);
    EngineUrls urls = SimUrls();
    urls.engine2 = urls.engine3 = "http://127.0.0.1:1";
    WebSearch search(urls, sink_, QuickOptions());
    search.StartSearchTasks(3, "mira");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_EQ(TargetsStartingWith("/ot_agree.asp?query=mira&first=1&").size(), 3u);
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine1).size(), 3u);
}

TEST_F(WebSearchTest, DetailPagesRunAtMostTheBoundAtOnce) {
    std::vector<sim::SimTrack> many;
    for (int i = 0; i < 20; ++i) {
        many.push_back(
            {"Band", "Take " + std::to_string(i), "take" + std::to_string(i) + ".mp3", 417});
    }
    server_.Router().SetCatalogue(many);
    sim::SimWebFaults slow;
    slow.answerDelay = 20ms;
    server_.SetFaults(slow);
    EngineUrls urls = SimUrls();
    urls.engine1 = urls.engine3 = "http://127.0.0.1:1";  // only the second engine reaches it
    WebSearchOptions options = QuickOptions();
    options.maxEngine2DetailsPerSearch = 3;
    WebSearch search(urls, sink_, options);
    search.StartSearchTasks(4, "band");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_EQ(sink_.NamesOf(WebEngineId::Engine2).size(), 20u);
    EXPECT_LE(server_.PeakAnswering(), 3u);
    EXPECT_EQ(TargetsStartingWith("/dsong.aspx").size(), 20u);
}

TEST_F(WebSearchTest, SearchesBeyondTheThreadBoundWaitTheirTurn) {
    WebSearchOptions options = QuickOptions();
    options.maxThreads = 2;
    WebSearch search(SimUrls(), sink_, options);
    for (int id = 0; id < 4; ++id) {
        search.StartSearchTasks(id, "kestrel");
    }
    ASSERT_TRUE(search.WaitUntilIdle(60s));
    for (int id = 0; id < 4; ++id) {
        const auto results = sink_.Results();
        EXPECT_EQ(std::count_if(results.begin(), results.end(),
                                [id](const auto& r) { return r.searchId == id; }),
                  9)
            << "search " << id;
    }
}

TEST_F(WebSearchTest, StoppedSearchFetchesNoFurther) {
    sink_.Stop(5);
    WebSearch search(SimUrls(), sink_, QuickOptions());
    search.StartSearchTasks(5, "loop");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_TRUE(sink_.Results().empty());
    // Only the second engine's one page is asked for before the check.
    EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(WebSearchTest, ShutdownEndsWaitingFetches) {
    sim::SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    WebSearchOptions options = QuickOptions();
    options.http.idleTimeout = 600s;  // only the shutdown can end these fetches
    auto search = std::make_unique<WebSearch>(SimUrls(), sink_, options);
    search->StartSearchTasks(6, "loop");
    while (server_.Requests().size() < 3) {
        std::this_thread::sleep_for(5ms);
    }
    auto finished = std::async(std::launch::async, [&search] { search.reset(); });
    EXPECT_EQ(finished.wait_for(60s), std::future_status::ready);
    EXPECT_TRUE(sink_.Results().empty());
}

// Engines whose pages trickle in without end are given up at the fetch time
// limit, with a line saying so, instead of holding the shared workers: a
// later search still gets its results.
TEST_F(WebSearchTest, TricklingEnginesAreGivenUpAndLaterSearchesStillRun) {
    sim::SimWebFaults trickle;
    trickle.trickleInterval = 100ms;
    server_.SetFaults(trickle);
    WebSearchOptions options = QuickOptions();
    options.maxThreads = 3;
    options.fetchTimeLimit = 500ms;
    std::mutex mutex;
    std::vector<std::string> lines;
    options.report = [&](const std::string& line) {
        std::lock_guard lock(mutex);
        lines.push_back(line);
    };
    WebSearch search(SimUrls(), sink_, options);
    const std::string givenUp =
        "Search 0: web engine 2 was given up: a page took longer than 500 ms, so its results "
        "are incomplete";
    const auto reportedGivenUp = [&] {
        std::lock_guard lock(mutex);
        return std::find(lines.begin(), lines.end(), givenUp) != lines.end();
    };
    for (int id = 0; id < 2; ++id) {
        search.StartSearchTasks(id, "kestrel");
    }
    // The server trickles until an engine has been given up for it; a
    // slow machine must not see the trickle end before the limit passes.
    for (int i = 0; i < 6000 && !reportedGivenUp(); ++i) {
        std::this_thread::sleep_for(5ms);
    }
    server_.SetFaults({});
    search.StartSearchTasks(7, "kestrel");
    ASSERT_TRUE(search.WaitUntilIdle(60s));
    const auto results = sink_.Results();
    EXPECT_EQ(std::count_if(results.begin(), results.end(),
                            [](const auto& r) { return r.searchId == 7; }),
              9);
    std::lock_guard lock(mutex);
    std::set<std::string> reported(lines.begin(), lines.end());
    EXPECT_EQ(reported.size(), lines.size());  // once per search and engine
    EXPECT_TRUE(reported.count(givenUp));
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.starts_with("Search 7")) << line;
    }
}

TEST_F(WebSearchTest, AnEngineSwitchedOffIsNeverAsked) {
    EngineUrls urls = SimUrls();
    urls.engine1.clear();
    urls.engine3.clear();
    WebSearch search(urls, sink_, QuickOptions());
    search.StartSearchTasks(3, "loop");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_TRUE(TargetsStartingWith("/ot_agree.asp").empty());
    EXPECT_TRUE(TargetsStartingWith("/http_search/search4.php").empty());
    EXPECT_FALSE(sink_.NamesOf(WebEngineId::Engine2).empty());
}

TEST_F(WebSearchTest, TheArchiveIsSearchedOnlyWhenItHasAnAddress) {
    {
        WebSearch search(SimUrls(), sink_, QuickOptions());
        search.StartSearchTasks(1, "loop");
        ASSERT_TRUE(search.WaitUntilIdle(30s));
    }
    EXPECT_TRUE(sink_.NamesOf(WebEngineId::Archive).empty());
    EXPECT_TRUE(TargetsStartingWith("/advancedsearch.php").empty());

    EngineUrls urls = SimUrls();
    urls.archive = server_.BaseUrl();
    WebSearch search(urls, sink_, QuickOptions());
    search.StartSearchTasks(2, "loop");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    EXPECT_EQ(Sorted(sink_.NamesOf(WebEngineId::Archive)),
              (std::set<std::string>{"Localhost Blues.mp3", "Port Forty One Hundred.mp3",
                                     "Connection Refused.mp3", "Idle Loop.mp3", "Handshake.mp3",
                                     "Blue Hour Reprise.mp3", "Loopback Lullaby.mp3"}));
    for (const auto& result : sink_.Results()) {
        if (result.engine == WebEngineId::Archive) {
            const std::string length = "Content-Length: " + std::to_string(result.knownSize);
            EXPECT_NE(FetchHeader(result.link).find(length + "\r\n"), std::string::npos)
                << result.link;
        }
    }
}

// The documented example, pointed at this test's simulated web.
TEST_F(WebSearchTest, AnEngineDefinedInAFileFindsAndListsWithKnownSizes) {
    std::ifstream in(std::string(KORVANA_SOURCE_DIR) + "/docs/engines/sim-catalogue.json");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::string port = std::to_string(server_.Port());
    text.replace(text.find("4100"), 4, port);
    DefinitionReading reading = ReadEngineDefinition(text, "sim-catalogue.json");
    ASSERT_TRUE(reading.definition) << reading.error;
    EngineUrls off{"", "", ""};
    WebSearchOptions options = QuickOptions();
    options.definedEngines = {*reading.definition};
    WebSearch search(off, sink_, options);
    search.StartSearchTasks(5, "blue");
    ASSERT_TRUE(search.WaitUntilIdle(30s));
    const auto results = sink_.Results();
    ASSERT_EQ(results.size(), 3u);
    for (const auto& result : results) {
        EXPECT_EQ(result.engine, WebEngineId::Defined);
        const std::string length = "Content-Length: " + std::to_string(result.knownSize);
        EXPECT_NE(FetchHeader(result.link).find(length + "\r\n"), std::string::npos) << result.link;
    }
}

TEST(WebEngineSettings, DefaultsAndOverrides) {
    test::MapSettings settings;
    EngineUrls defaults = ReadEngineUrls(settings);
    EXPECT_EQ(defaults.engine1, "http://127.0.0.1:4100");
    EXPECT_EQ(defaults.engine2, "http://127.0.0.1:4100");
    EXPECT_EQ(defaults.engine3, "http://127.0.0.1:4100");
    settings.Write("Engine2Url", "http://127.0.0.1:5000/");
    settings.Write("Engine3Url", "");
    const EngineUrls urls = ReadEngineUrls(settings);
    EXPECT_EQ(urls.engine2, "http://127.0.0.1:5000");
    EXPECT_EQ(urls.engine3, "http://127.0.0.1:4100");
    EXPECT_EQ(urls.archive, "http://127.0.0.1:4100");
    settings.Write("ArchiveUrl", "https://archive.org/");
    EXPECT_EQ(ReadEngineUrls(settings).archive, "https://archive.org");
    settings.Write("ArchiveEnabled", "0");
    settings.Write("Engine1Enabled", "0");
    const EngineUrls off = ReadEngineUrls(settings);
    EXPECT_EQ(off.archive, "");
    EXPECT_EQ(off.engine1, "");
    EXPECT_EQ(off.engine2, "http://127.0.0.1:5000");
}

TEST(WebEngineSettings, ChoicesRoundTripAndOnlyUsableAddressesPass) {
    test::MapSettings settings;
    std::vector<WebEngineChoice> choices = ReadWebEngineChoices(settings);
    ASSERT_EQ(choices.size(), 4u);
    EXPECT_TRUE(choices[3].enabled);
    choices[3].url = "https://archive.org";
    choices[1].enabled = false;
    WriteWebEngineChoices(settings, choices);
    const std::vector<WebEngineChoice> read = ReadWebEngineChoices(settings);
    EXPECT_EQ(read[3].url, "https://archive.org");
    EXPECT_FALSE(read[1].enabled);
    EXPECT_EQ(ReadEngineUrls(settings).engine2, "");

    for (const char* good : {"", "http://127.0.0.1:4100", "https://archive.org/", "http://h"}) {
        EXPECT_EQ(WebEngineUrlProblem(good), "") << good;
    }
    for (const char* bad : {"archive.org", "ftp://h", "http://", "http://:80", "http://u@h",
                            "http://h/search", "https://h?x=1", "http://a b"}) {
        EXPECT_NE(WebEngineUrlProblem(bad), "") << bad;
    }
}

}  // namespace
}  // namespace korvana
