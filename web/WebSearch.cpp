#include "web/WebSearch.h"

#include "web/WebResultSink.h"
#include "web/archive/ArchiveEngine.h"
#include "web/engines/DefinedEngine.h"

namespace korvana {

WebSearch::WebSearch(EngineUrls urls, WebResultSink& sink, WebSearchOptions options)
    : WebSearch(std::move(urls), sink, httpFetcher_, options) {}

// httpFetcher_ is built before context_ takes a reference to it, whichever
// fetcher the context ends up using.
namespace {

HttpOptions WithTimeLimit(HttpOptions http, std::chrono::milliseconds limit) {
    http.totalTimeout = limit;
    return http;
}

std::string DurationText(std::chrono::milliseconds duration) {
    const auto ms = duration.count();
    return ms % 1000 == 0 ? std::to_string(ms / 1000) + " s" : std::to_string(ms) + " ms";
}

// What an engine's status line calls it: "Engine 2" for a numbered one.
std::string EngineLabel(const std::string& engine) {
    const bool numbered =
        !engine.empty() && engine.find_first_not_of("0123456789") == std::string::npos;
    return numbered ? "Engine " + engine : engine;
}

// One engine task's view of the fetcher and the sink, which notes what the
// task handed over and whether any page came back, for its progress.
class TaskWatch final : public PageFetcher, public WebResultSink {
  public:
    TaskWatch(PageFetcher& fetcher, WebResultSink& sink) : fetcher_(fetcher), sink_(sink) {}

    std::string FetchPage(const std::string& url) override {
        return Noted(fetcher_.FetchPage(url));
    }
    std::string FetchPostPage(const std::string& url) override {
        return Noted(fetcher_.FetchPostPage(url));
    }
    std::string FetchWithSystemHttp(const std::string& url) override {
        return Noted(fetcher_.FetchWithSystemHttp(url));
    }
    bool Pause(std::chrono::milliseconds delay) override { return fetcher_.Pause(delay); }
    bool Stopping() const override { return fetcher_.Stopping(); }
    bool LastFetchOverran() const override { return fetcher_.LastFetchOverran(); }

    void OpenSearch(int searchId) override { sink_.OpenSearch(searchId); }
    bool AddWebResult(int searchId, const std::string& link, const std::string& name,
                      WebEngineId engine) override {
        ++found_;
        return sink_.AddWebResult(searchId, link, name, engine);
    }
    bool AddKnownWebResult(int searchId, const KnownWebResult& result,
                           WebEngineId engine) override {
        ++found_;
        return sink_.AddKnownWebResult(searchId, result, engine);
    }
    bool IsSearchStopped(int searchId) const override { return sink_.IsSearchStopped(searchId); }

    std::int32_t Found() const { return found_; }
    // Pages were asked for and none came: the engine's server is not there
    // or does not answer. The program shutting down meanwhile does not count.
    bool NothingFetched() const { return fetches_ > 0 && answered_ == 0 && !fetcher_.Stopping(); }

  private:
    std::string Noted(std::string page) {
        ++fetches_;
        answered_ += page.empty() ? 0 : 1;
        return page;
    }

    PageFetcher& fetcher_;
    WebResultSink& sink_;
    std::int32_t found_ = 0;
    int fetches_ = 0;
    int answered_ = 0;
};

}  // namespace

WebSearchOptions ReportingSearchOptions(std::function<void(const std::string& line)> report) {
    WebSearchOptions options;
    options.report = std::move(report);
    return options;
}

WebSearch::WebSearch(EngineUrls urls, WebResultSink& sink, PageFetcher& fetcher,
                     WebSearchOptions options)
    : httpFetcher_(WithTimeLimit(options.http, options.fetchTimeLimit), stop_),
      sink_(sink),
      maxDetailsPerSearch_(
          options.maxEngine2DetailsPerSearch == 0 ? 1 : options.maxEngine2DetailsPerSearch),
      context_{std::move(urls), options.tuning, fetcher, sink,
               [this](int searchId, DetailEntry entry) {
                   StartEngine2Detail(searchId, std::move(entry));
               }},
      fetchTimeLimit_(options.fetchTimeLimit),
      report_(std::move(options.report)),
      definedEngines_(std::move(options.definedEngines)),
      pool_(options.maxThreads) {}

WebSearch::~WebSearch() {
    Shutdown();
}

void WebSearch::StartSearchTasks(int searchId, const std::string& term) {
    sink_.OpenSearch(searchId);
    const EngineUrls& urls = context_.urls;
    if (!urls.engine2.empty()) {
        PostEngine(searchId, "2", [searchId, term](const EngineContext& context) {
            return Engine2PageTask(context, searchId, term);
        });
    }
    if (!urls.engine3.empty()) {
        PostEngine(searchId, "3", [searchId, term](const EngineContext& context) {
            return Engine3Task(context, searchId, term);
        });
    }
    if (!urls.engine1.empty()) {
        PostEngine(searchId, "1", [searchId, term](const EngineContext& context) {
            return Engine1Task(context, searchId, term);
        });
    }
    if (!urls.archive.empty()) {
        PostEngine(searchId, "Internet Archive", [searchId, term](const EngineContext& context) {
            return ArchiveEngineTask(context.fetcher, context.sink, context.urls.archive, searchId,
                                     term);
        });
    }
    for (const EngineDefinition& engine : definedEngines_) {
        PostEngine(searchId, engine.name, [searchId, term, &engine](const EngineContext& context) {
            return DefinedEngineTask(context.fetcher, context.sink, engine, searchId, term);
        });
    }
}

// The task counts as started when it is queued, so that the search shows it
// running from the start, and an engine whose detail pages wait for a worker
// is still running.
template <typename Work>
void WebSearch::PostEngine(int searchId, const std::string& engine, Work work) {
    sink_.EngineTaskStarted(searchId, EngineLabel(engine));
    pool_.Post(
        [this, searchId, engine, work = std::move(work)] { RunEngine(searchId, engine, work); });
}

template <typename Work>
void WebSearch::RunEngine(int searchId, const std::string& engine, const Work& work,
                          bool leadTask) {
    TaskWatch watch(context_.fetcher, sink_);
    const EngineContext context{context_.urls, context_.tuning, watch, watch,
                                context_.startEngine2Detail};
    EngineTaskOutcome outcome;
    if (!work(context)) {
        ReportGivenUp(searchId, engine);
        outcome.failure = "a page took longer than " + DurationText(fetchTimeLimit_);
    } else if (leadTask && watch.NothingFetched() && watch.Found() == 0) {
        outcome.failure = "no page could be fetched";
    }
    outcome.found = watch.Found();
    sink_.EngineTaskEnded(searchId, EngineLabel(engine), outcome);
}

void WebSearch::ReportGivenUp(int searchId, const std::string& engine) {
    {
        std::lock_guard lock(reportedMutex_);
        if (!reported_.insert({searchId, engine}).second) {
            return;
        }
    }
    if (report_) {
        report_("Search " + std::to_string(searchId) + ": web engine " + engine +
                " was given up: a page took longer than " + DurationText(fetchTimeLimit_) +
                ", so its results are incomplete");
    }
}

bool WebSearch::WaitUntilIdle(std::chrono::milliseconds timeout) {
    return pool_.WaitUntilIdle(timeout);
}

void WebSearch::Shutdown() {
    stop_.Trigger();
    pool_.Stop();
}

void WebSearch::StartEngine2Detail(int searchId, DetailEntry entry) {
    sink_.EngineTaskStarted(searchId, EngineLabel("2"));
    std::lock_guard lock(detailsMutex_);
    DetailQueue& queue = details_[searchId];
    if (queue.running >= maxDetailsPerSearch_) {
        queue.waiting.push_back(std::move(entry));
        return;
    }
    ++queue.running;
    PostEngine2Detail(searchId, std::move(entry));
}

void WebSearch::PostEngine2Detail(int searchId, DetailEntry entry) {
    pool_.Post([this, searchId, entry = std::move(entry)] {
        RunEngine(
            searchId, "2",
            [searchId, &entry](const EngineContext& context) {
                return Engine2DetailTask(context, searchId, entry);
            },
            false);
        FinishEngine2Detail(searchId);
    });
}

// A finished detail hands its slot to the next waiting entry of its search.
void WebSearch::FinishEngine2Detail(int searchId) {
    std::lock_guard lock(detailsMutex_);
    DetailQueue& queue = details_[searchId];
    if (!queue.waiting.empty()) {
        DetailEntry next = std::move(queue.waiting.front());
        queue.waiting.pop_front();
        PostEngine2Detail(searchId, std::move(next));
        return;
    }
    if (--queue.running == 0) {
        details_.erase(searchId);
    }
}

}  // namespace korvana
