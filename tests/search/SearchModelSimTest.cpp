// The search model fed by the core link from the simulated core.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "SearchTestSupport.h"
#include "core/CoreLink.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "search/SearchModel.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(SearchModelWithSimulatedCore, ResultsTheCoreReportsTwiceAreListedOnce) {
    test::TempDir dir;
    sim::test::SimProcess sim(dir.Path(), {"--duplicate-results", "--no-stats"});
    ASSERT_GT(sim.Port(), 0);
    StatusLog log;
    test::RecordingPrompter prompter;
    SystemClock clock;
    SearchModel model;
    CoreLinkConfig config;
    config.host = "127.0.0.1";
    config.port = static_cast<std::uint16_t>(sim.Port());
    CoreLink link(config, log, prompter, clock);
    link.SetSearchSink(&model);
    link.StartReceiveThread();

    const std::int32_t id = model.TakeNextSearchId();
    model.OpenSearch(id);
    SearchTerms terms;
    terms.keywords = "a";
    link.SendSearchQuery(id, terms);
    // The core sends each result and each binding twice; wait until the
    // count has stood still for a while.
    std::int32_t count = -1;
    for (int still = 0, tries = 0; still < 10 && tries < 300; ++tries) {
        std::this_thread::sleep_for(100ms);
        const std::int32_t now = model.ShownCount(id);
        still = now == count && now > 0 ? still + 1 : 0;
        count = now;
    }
    const std::vector<ListedRow> rows = model.ShowSearch(id);
    std::set<std::int32_t> ids;
    for (const ListedRow& row : rows) {
        ids.insert(row.result->core->resultId);
    }
    EXPECT_GT(rows.size(), 1u);
    EXPECT_EQ(ids.size(), rows.size());
    EXPECT_EQ(count, static_cast<std::int32_t>(rows.size()));
}

}  // namespace
}  // namespace korvana
