#include "web/PageFetcher.h"
#include "web/engines/DefinedEngine.h"

namespace korvana {
namespace {

enum class Outcome { Done, Stopped, OverTime };

// Searches that were stopped or removed end their engines early: whatever
// they would still find is dropped by the model anyway. Shutdown ends them
// too.
bool ShouldEnd(const DefinedRun& run, int searchId) {
    return run.fetcher.Stopping() || run.sink.IsSearchStopped(searchId);
}

std::string FetchListing(const DefinedRun& run, const EngineDefinition& engine,
                         const std::string& url, const std::string& term) {
    if (engine.fetch == FetchPath::System) {
        return run.fetcher.FetchWithSystemHttp(url);
    }
    if (!engine.bodyTemplate.empty()) {
        // The plain client POSTs the query of what it is given as the form.
        return run.fetcher.FetchPostPage(url + "?" +
                                         FillTemplate(engine, engine.bodyTemplate, term, 0));
    }
    return run.fetcher.FetchPage(url);
}

// A page that arrived in part is fetched again until it is whole. A fetch
// that brought nothing at all ends the paging at once: retrying a server
// that is down would hold a worker for minutes. So does a fetch that ran out
// of time (the caller asks LastFetchOverran), and a stop.
std::string FetchWholePage(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                           const std::string& url, const std::string& term) {
    std::string page = FetchListing(run, engine, url, term);
    if (!engine.completeness || run.fetcher.LastFetchOverran()) {
        return page;
    }
    const CompletenessRule& rule = *engine.completeness;
    for (int refetch = 0;
         refetch < rule.refetchLimit && !page.empty() && !IsPageComplete(rule, page); ++refetch) {
        page = FetchListing(run, engine, url, term);
        if (run.fetcher.LastFetchOverran()) {
            return {};
        }
        if (!run.fetcher.Pause(rule.refetchDelay) || run.sink.IsSearchStopped(searchId)) {
            return {};
        }
    }
    return page;
}

// Hands on the results of one page: listed at once, or through their detail
// pages while the engine's detail fetches last.
Outcome HandOn(const DefinedRun& run, const EngineDefinition& engine, int searchId,
               const std::vector<DefinedResult>& results, int& detailsLeft) {
    for (const DefinedResult& result : results) {
        if (!engine.detail) {
            if (result.size >= 0) {
                run.sink.AddKnownWebResult(searchId, {result.link, result.name, result.size, {}},
                                           run.engineId);
            } else {
                run.sink.AddWebResult(searchId, result.link, result.name, run.engineId);
            }
            continue;
        }
        if (ShouldEnd(run, searchId)) {
            return Outcome::Stopped;
        }
        if (detailsLeft == 0) {
            return Outcome::Done;
        }
        --detailsLeft;
        DetailEntry entry{result.link, result.name};
        if (engine.detail->queued && run.queueDetail) {
            run.queueDetail(searchId, std::move(entry));
        } else if (!RunDefinedDetail(run, engine, searchId, entry)) {
            return Outcome::OverTime;
        }
    }
    return Outcome::Done;
}

bool Paged(const std::string& urlTemplate) {
    return urlTemplate.find("{page}") != std::string::npos ||
           urlTemplate.find("{first}") != std::string::npos;
}

Outcome RunListing(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                   const std::string& term, const std::string& urlTemplate, int& detailsLeft) {
    const bool paged = Paged(urlTemplate);
    const int pages = paged ? engine.maxPages : 1;
    long long counter = engine.firstPage;
    for (int i = 0; i < pages; ++i, counter += engine.pageStep) {
        // A listing of one page is asked for at once; the stop is checked
        // before each of its results instead.
        if (paged && ShouldEnd(run, searchId)) {
            return Outcome::Stopped;
        }
        const std::string text = FetchWholePage(
            run, engine, searchId, FillTemplate(engine, urlTemplate, term, counter), term);
        if (run.fetcher.LastFetchOverran()) {
            return Outcome::OverTime;
        }
        const DefinedPage page = CutDefinedPage(engine, text);
        if (const Outcome outcome = HandOn(run, engine, searchId, page.results, detailsLeft);
            outcome != Outcome::Done) {
            return outcome;
        }
        if (!page.hasNextPage) {
            break;
        }
    }
    return Outcome::Done;
}

}  // namespace

bool RunDefinedEngine(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                      const std::string& term) {
    int detailsLeft = engine.detail ? engine.detail->maxFetches : 0;
    for (const std::string& urlTemplate : engine.urlTemplates) {
        switch (RunListing(run, engine, searchId, term, urlTemplate, detailsLeft)) {
            case Outcome::Done:
                break;
            case Outcome::Stopped:
                return true;
            case Outcome::OverTime:
                return false;
        }
    }
    return true;
}

bool RunDefinedDetail(const DefinedRun& run, const EngineDefinition& engine, int searchId,
                      const DetailEntry& entry) {
    if (ShouldEnd(run, searchId)) {
        return true;
    }
    const std::string page = engine.fetch == FetchPath::System
                                 ? run.fetcher.FetchWithSystemHttp(entry.detailLink)
                                 : run.fetcher.FetchPage(entry.detailLink);
    if (run.fetcher.LastFetchOverran()) {
        return false;
    }
    const std::string link = CutDownloadLink(engine, page);
    if (!link.empty()) {
        run.sink.AddWebResult(searchId, link, NameWithEnding(engine.nameEnding, entry.title, link),
                              run.engineId);
    }
    return true;
}

bool DefinedEngineTask(PageFetcher& fetcher, WebResultSink& sink, const EngineDefinition& engine,
                       int searchId, const std::string& term) {
    return RunDefinedEngine({fetcher, sink, WebEngineId::Defined, {}}, engine, searchId, term);
}

}  // namespace korvana
