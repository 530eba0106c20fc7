#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>

#include "util/StopSignal.h"
#include "util/TaskPool.h"
#include "web/HttpOptions.h"
#include "web/PageFetcher.h"
#include "web/WebEngines.h"
#include "web/WebResultSink.h"
#include "web/engines/EngineDefinition.h"

namespace korvana {

class WebResultSink;

struct WebSearchOptions {
    // Limits of every fetch (the stop signal is WebSearch's own).
    HttpOptions http;
    // A page that has not arrived whole after this long is given up, and
    // its engine with it for that search, however steadily bytes trickle
    // in: endless pages must not hold the workers every search shares.
    std::chrono::milliseconds fetchTimeLimit{30000};
    // Told, once per search and engine, that an engine was given up; the
    // program writes it to its status log.
    std::function<void(const std::string& line)> report;
    EngineTuning tuning;
    // Engine and detail threads of all searches together.
    std::size_t maxThreads = 16;
    // Detail pages of the second engine fetched at once for one search.
    std::size_t maxEngine2DetailsPerSearch = 8;
    // Engines the user added as definitions, searched after the others.
    std::vector<EngineDefinition> definedEngines;
};

// The default options, with `report` told about engines given up.
WebSearchOptions ReportingSearchOptions(std::function<void(const std::string& line)> report);

// Runs the web engines for every search on a bounded set of worker
// threads and hands their results to the sink. Work beyond the bounds waits;
// nothing is dropped while the object lives. Destroying it (or Shutdown)
// ends every fetch at once and joins all threads.
class WebSearch {
  public:
    WebSearch(EngineUrls urls, WebResultSink& sink, WebSearchOptions options = {});
    // Uses `fetcher` instead of the HTTP client (tests script pages with it).
    WebSearch(EngineUrls urls, WebResultSink& sink, PageFetcher& fetcher,
              WebSearchOptions options = {});
    ~WebSearch();
    WebSearch(const WebSearch&) = delete;
    WebSearch& operator=(const WebSearch&) = delete;

    // Starts a search: the sink opens the search's record, then the engines
    // are queued in the order Engine2PageTask, Engine3Task,
    // Engine1Task. Returns at once; called from the search page.
    void StartSearchTasks(int searchId, const std::string& term);

    // Waits until no engine work is queued or running; false after `timeout`.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);

    // Ends all fetches and waits, drops queued work and joins the threads.
    void Shutdown();

  private:
    struct DetailQueue {
        std::size_t running = 0;
        std::deque<DetailEntry> waiting;
    };

    void StartEngine2Detail(int searchId, DetailEntry entry);
    // Queues one engine's work for a search and tells the sink it started.
    template <typename Work>
    void PostEngine(int searchId, const std::string& engine, Work work);
    // Runs one task of an engine on a context that watches it, and tells
    // the sink how it ended; a task given up is also reported. `engine`
    // names it: "2", "Internet Archive". Only an engine's lead task (not a
    // detail page of the second engine) fails for getting no page at all:
    // one detail page missing leaves the engine's other results standing.
    template <typename Work>
    void RunEngine(int searchId, const std::string& engine, const Work& work, bool leadTask = true);
    void ReportGivenUp(int searchId, const std::string& engine);
    void PostEngine2Detail(int searchId, DetailEntry entry);
    void FinishEngine2Detail(int searchId);

    StopSignal stop_;
    HttpPageFetcher httpFetcher_;
    WebResultSink& sink_;
    const std::size_t maxDetailsPerSearch_;
    EngineContext context_;
    std::mutex detailsMutex_;
    std::map<int, DetailQueue> details_;
    const std::chrono::milliseconds fetchTimeLimit_;
    const std::function<void(const std::string&)> report_;
    std::mutex reportedMutex_;
    std::set<std::pair<int, std::string>> reported_;
    const std::vector<EngineDefinition> definedEngines_;
    // Last, so that its threads are joined before the members they use go.
    TaskPool pool_;
};

}  // namespace korvana
