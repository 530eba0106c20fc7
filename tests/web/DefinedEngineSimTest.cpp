#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "tests/web/WebTestSupport.h"
#include "tools/sim/web/SimWebServer.h"
#include "web/WebSearch.h"
#include "web/engines/EngineDefinition.h"

// A user's engine written with the rules the third built-in engine uses
// (two listings, a required mark, detail pages read backwards from a mark)
// finds on the simulated web what that engine finds.
namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(DefinedEngineSim, DetailPagesOfAUserEngineFindWhatTheBuiltInEngineFinds) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    std::ifstream in(std::string(KORVANA_SOURCE_DIR) + "/docs/engines/sim-detail-pages.json");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const std::string port = std::to_string(server.Port());
    text.replace(text.find("4100"), 4, port);
    DefinitionReading reading = ReadEngineDefinition(text, "sim-detail-pages.json");
    ASSERT_TRUE(reading.definition) << reading.error;

    test::RecordingSink sink;
    WebSearchOptions options;
    options.definedEngines = {*reading.definition};
    WebSearch search(EngineUrls{"", "", server.BaseUrl()}, sink, options);
    search.StartSearchTasks(1, "kestrel");
    ASSERT_TRUE(search.WaitUntilIdle(30s));

    const auto builtIn = sink.NamesOf(WebEngineId::Engine3);
    const auto defined = sink.NamesOf(WebEngineId::Defined);
    EXPECT_FALSE(defined.empty());
    EXPECT_EQ(std::multiset<std::string>(defined.begin(), defined.end()),
              std::multiset<std::string>(builtIn.begin(), builtIn.end()));
    for (const auto& result : sink.Results()) {
        EXPECT_TRUE(result.link.starts_with(server.BaseUrl() + "/files/")) << result.link;
    }
    // One detail page per result and engine, none more.
    int detailFetches = 0;
    for (const auto& request : server.Requests()) {
        detailFetches += request.target.starts_with("/http_search/download.php") ? 1 : 0;
    }
    EXPECT_EQ(detailFetches, static_cast<int>(builtIn.size() + defined.size()));
}

}  // namespace
}  // namespace korvana
