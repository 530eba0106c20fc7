#include "web/WebSearch.h"

#include "web/WebResultSink.h"

namespace korvana {

WebSearch::WebSearch(EngineUrls urls, WebResultSink& sink, WebSearchOptions options)
    : WebSearch(std::move(urls), sink, httpFetcher_, options) {}

// httpFetcher_ is built before context_ takes a reference to it, whichever
// fetcher the context ends up using.
WebSearch::WebSearch(EngineUrls urls, WebResultSink& sink, PageFetcher& fetcher,
                     WebSearchOptions options)
    : httpFetcher_(options.http, stop_),
      sink_(sink),
      maxDetailsPerSearch_(
          options.maxEngine2DetailsPerSearch == 0 ? 1 : options.maxEngine2DetailsPerSearch),
      context_{std::move(urls), options.tuning, fetcher, sink,
               [this](int searchId, DetailEntry entry) {
                   StartEngine2Detail(searchId, std::move(entry));
               }},
      pool_(options.maxThreads) {}

WebSearch::~WebSearch() {
    Shutdown();
}

void WebSearch::SearchStartThread(int searchId, const std::string& term) {
    sink_.OpenSearch(searchId);
    pool_.Post([this, searchId, term] { Engine2PageThread(context_, searchId, term); });
    pool_.Post([this, searchId, term] { Engine3Thread(context_, searchId, term); });
    pool_.Post([this, searchId, term] { Engine1Thread(context_, searchId, term); });
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
        Engine2DetailThread(context_, searchId, entry);
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
