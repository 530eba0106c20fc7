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
        pool_.Post([this, searchId, term] {
            RunEngine(searchId, "2", [&] { return Engine2PageTask(context_, searchId, term); });
        });
    }
    if (!urls.engine3.empty()) {
        pool_.Post([this, searchId, term] {
            RunEngine(searchId, "3", [&] { return Engine3Task(context_, searchId, term); });
        });
    }
    if (!urls.engine1.empty()) {
        pool_.Post([this, searchId, term] {
            RunEngine(searchId, "1", [&] { return Engine1Task(context_, searchId, term); });
        });
    }
    if (!urls.archive.empty()) {
        pool_.Post([this, searchId, term] {
            RunEngine(searchId, "Internet Archive", [&] {
                return ArchiveEngineTask(context_.fetcher, sink_, context_.urls.archive, searchId,
                                         term);
            });
        });
    }
    for (const EngineDefinition& engine : definedEngines_) {
        pool_.Post([this, searchId, term, &engine] {
            RunEngine(searchId, engine.name, [&] {
                return DefinedEngineTask(context_.fetcher, sink_, engine, searchId, term);
            });
        });
    }
}

template <typename Work>
void WebSearch::RunEngine(int searchId, const std::string& engine, Work work) {
    if (!work()) {
        ReportGivenUp(searchId, engine);
    }
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
        RunEngine(searchId, "2", [&] { return Engine2DetailTask(context_, searchId, entry); });
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
