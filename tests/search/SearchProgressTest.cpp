#include "search/SearchProgress.h"

#include <gtest/gtest.h>

#include <map>

#include "SearchTestSupport.h"
#include "search/SearchModel.h"
#include "tools/sim/web/SimWebServer.h"
#include "web/WebSearch.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(EngineProgress, AnEngineRunsUntilEveryOneOfItsTasksHasEnded) {
    EngineProgressList list;
    list.TaskStarted("Engine 2");
    list.TaskStarted("Engine 1");
    list.TaskStarted("Engine 2");
    list.TaskEnded("Engine 2", {3, ""});
    ASSERT_EQ(list.Engines().size(), 2u);
    EXPECT_EQ(list.Engines()[0].name, "Engine 2");
    EXPECT_EQ(list.Engines()[0].state, EngineState::Running);
    EXPECT_TRUE(list.AnyRunning());
    list.TaskEnded("Engine 2", {4, ""});
    list.TaskEnded("Engine 1", {0, ""});
    EXPECT_EQ(list.Engines()[0].state, EngineState::Done);
    EXPECT_EQ(list.Engines()[0].found, 7);
    EXPECT_FALSE(list.AnyRunning());
}

TEST(EngineProgress, OneFailedTaskFailsTheEngineWithItsReasonAndKeepsWhatItFound) {
    EngineProgressList list;
    list.TaskStarted("Engine 2");
    list.TaskStarted("Engine 2");
    list.TaskEnded("Engine 2", {0, "a page took longer than 30 s"});
    EXPECT_EQ(list.Engines()[0].state, EngineState::Running);
    list.TaskEnded("Engine 2", {5, ""});
    EXPECT_EQ(list.Engines()[0].state, EngineState::Failed);
    SearchProgress progress;
    progress.engines = list.Engines();
    EXPECT_EQ(ProgressPieces(progress)[1],
              "Engine 2: failed (a page took longer than 30 s), 5 found");
}

TEST(EngineProgress, AnEndNeverHeardStartedCannotLeaveTheEngineRunning) {
    EngineProgressList list;
    list.TaskEnded("Engine 3", {2, ""});
    list.TaskStarted("Engine 3");
    list.TaskEnded("Engine 3", {1, ""});
    EXPECT_EQ(list.Engines()[0].state, EngineState::Done);
    EXPECT_EQ(list.Engines()[0].found, 3);
}

TEST(SearchProgressText, TheLineNamesTheCoreAndEachEngine) {
    SearchProgress progress;
    progress.core = CorePart::Searching;
    progress.coreResults = 12;
    progress.engines = {{"Engine 1", EngineState::Done, 0, 4, ""},
                        {"Engine 2", EngineState::Running, 1, 0, ""},
                        {"Archive", EngineState::Failed, 0, 0, "no page could be fetched"}};
    EXPECT_EQ(ProgressPieces(progress),
              (std::vector<std::string>{"Core: searching, 12 results", "Engine 1: done, 4 found",
                                        "Engine 2: running",
                                        "Archive: failed (no page could be fetched)"}));
    progress.core = CorePart::NotConnected;
    EXPECT_EQ(ProgressPieces(progress)[0], "Core: not connected");
    progress.core = CorePart::Stopped;
    EXPECT_EQ(ProgressPieces(progress)[0], "Core: stopped, 12 results");
}

TEST(SearchProgressText, AnEmptyListSaysNoResultsOnceTheEnginesAreDone) {
    SearchProgress progress;
    progress.engines = {{"Engine 1", EngineState::Running, 1, 0, ""}};
    EXPECT_EQ(EmptyListText(progress, false), "Searching...");
    EXPECT_FALSE(EndedEmpty(progress));
    progress.engines[0] = {"Engine 1", EngineState::Done, 0, 0, ""};
    EXPECT_EQ(EmptyListText(progress, false), "No results");
    EXPECT_TRUE(EndedEmpty(progress));
    progress.shownResults = 3;
    EXPECT_FALSE(EndedEmpty(progress));
    EXPECT_EQ(EmptyListText(progress, true), "No results match the filter");
}

TEST(SearchModelProgress, EngineReportsReachTheSearchAndTheChanges) {
    SearchModel model;
    const std::int32_t id = model.TakeNextSearchId();
    model.OpenSearch(id);
    model.EngineTaskStarted(id, "Engine 1");
    model.EngineTaskStarted(id + 5, "Engine 1");  // unknown search: ignored
    test::HandOver(model, test::MakeCoreResult(id, 1, "a.mp3", 10));
    model.AddKnownWebResult(id, {"http://127.0.0.1/b.mp3", "b.mp3", 20, ""}, WebEngineId::Engine1);
    model.EngineTaskEnded(id, "Engine 1", {1, ""});

    const ListChanges changes = model.TakeListChanges({});
    EXPECT_EQ(changes.progressed, std::vector<std::int32_t>{id});
    const SearchProgress progress = model.Progress(id);
    EXPECT_EQ(progress.coreResults, 1);
    EXPECT_EQ(progress.shownResults, 2);
    ASSERT_EQ(progress.engines.size(), 1u);
    EXPECT_EQ(progress.engines[0].state, EngineState::Done);
    EXPECT_EQ(progress.core, CorePart::Searching);
    model.StopSearch(id);
    EXPECT_EQ(model.Progress(id).core, CorePart::Stopped);
    EXPECT_TRUE(model.TakeListChanges({}).progressed.empty());
}

TEST(SearchSessionProgress, TheCorePartSaysWhenTheCoreIsNotConnected) {
    test::RecordingCommands core;
    test::SilentWeb web;
    SearchSession session(core, test::QuietSessionOptions(web, new test::ManualProbes));
    const SearchStartOutcome started = session.Start("loop", {});
    core.connected = false;
    EXPECT_EQ(session.Progress(started.searchId).core, CorePart::NotConnected);
    core.connected = true;
    EXPECT_EQ(session.Progress(started.searchId).core, CorePart::Searching);
}

// The engines run against the simulated web and an address where nothing
// listens; the model hears each engine start, and how it ended.
TEST(WebSearchProgress, EachEngineEndsDoneWithItsCountOrFailedWithAReason) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    SearchModel model;
    WebSearchOptions options;
    // Long enough for a loaded machine: only the closed port is to fail.
    options.http.idleTimeout = 10000ms;
    options.tuning.engine1RefetchDelay = 1ms;
    options.tuning.engine1RefetchLimit = 2;
    // Port 1 of the loopback address: nothing listens there.
    WebSearch search(EngineUrls{server.BaseUrl(), server.BaseUrl(), "http://127.0.0.1:1"}, model,
                     options);
    search.StartSearchTasks(0, "loop");
    const SearchProgress started = model.Progress(0);
    ASSERT_EQ(started.engines.size(), 3u);
    EXPECT_TRUE(started.WebRunning());
    ASSERT_TRUE(search.WaitUntilIdle(30s));

    const SearchProgress ended = model.Progress(0);
    EXPECT_FALSE(ended.WebRunning());
    std::map<std::string, EngineProgress> byName;
    for (const EngineProgress& engine : ended.engines) {
        byName[engine.name] = engine;
    }
    EXPECT_EQ(byName["Engine 1"].state, EngineState::Done);
    EXPECT_EQ(byName["Engine 1"].found, 5);
    // The second engine's detail pages count with its result page.
    EXPECT_EQ(byName["Engine 2"].state, EngineState::Done);
    EXPECT_EQ(byName["Engine 2"].found, 5);
    EXPECT_EQ(byName["Engine 3"].state, EngineState::Failed);
    EXPECT_EQ(byName["Engine 3"].failure, "no page could be fetched");
}

}  // namespace
}  // namespace korvana
