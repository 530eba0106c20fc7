#include "web/WebEngines.h"

#include "web/LinkText.h"
#include "web/PageFetcher.h"
#include "web/WebResultSink.h"

namespace korvana {
namespace {

// Searches that were stopped or removed end their engines early: whatever
// they would still find is dropped by the model anyway. Shutdown ends them
// too.
bool ShouldEnd(const EngineContext& context, int searchId) {
    return context.fetcher.Stopping() || context.sink.IsSearchStopped(searchId);
}

// A page that arrived in part is fetched again until it is whole. A fetch
// that brought nothing at all ends the paging at once: retrying a server
// that is down would hold a worker for minutes.
std::string FetchCompleteEngine1Page(const EngineContext& context, int searchId,
                                     const std::string& url) {
    std::string page = context.fetcher.FetchWithSystemHttp(url);
    for (int refetch = 0; refetch < context.tuning.engine1RefetchLimit && !page.empty() &&
                          !IsEngine1PageComplete(page);
         ++refetch) {
        page = context.fetcher.FetchWithSystemHttp(url);
        if (!context.fetcher.Pause(context.tuning.engine1RefetchDelay) ||
            context.sink.IsSearchStopped(searchId)) {
            return {};
        }
    }
    return page;
}

// One listing page of the third engine; true while there is a next page.
bool Engine3PageStep(const EngineContext& context, int searchId, const std::string& url) {
    if (ShouldEnd(context, searchId)) {
        return false;
    }
    const Engine3Page page =
        ScrapeEngine3Page(context.fetcher.FetchPage(url), context.urls.engine3 + "/http_search/");
    for (const DetailEntry& entry : page.entries) {
        if (ShouldEnd(context, searchId)) {
            return false;
        }
        const std::string link =
            ScrapeEngine3DownloadLink(context.fetcher.FetchPage(entry.detailLink));
        if (!link.empty()) {
            context.sink.AddWebResult(searchId, link,
                                      DetailResultName(entry.title, link, WmaRule::Keep),
                                      WebEngineId::Engine3);
        }
    }
    return page.hasNextPage;
}

}  // namespace

std::string Engine1PageUrl(std::string_view base, std::string_view term, long first) {
    std::string url(base);
    url += "/ot_agree.asp?query=";
    url += term;
    url += "&first=" + std::to_string(first) + "&pmore=more&tab=multi&cat=audio&adf=&agree=1";
    return url;
}

std::string Engine2PageUrl(std::string_view base, std::string_view term) {
    std::string url(base);
    url += "/sresult.aspx?txtSearch=";
    url += term;
    url += "&mp3s=MP3s";
    return url;
}

std::string Engine3ArtistPageUrl(std::string_view base, std::string_view term, long page) {
    std::string url(base);
    url += "/http_search/search4.php?artist=";
    url += term;
    url += "&title=&page=" + std::to_string(page);
    return url;
}

std::string Engine3TitlePageUrl(std::string_view base, std::string_view term, long page) {
    std::string url(base);
    url += "/http_search/search4.php?artist=&title=";
    url += term;
    url += "&page=" + std::to_string(page);
    return url;
}

void Engine1Thread(const EngineContext& context, int searchId, const std::string& term) {
    for (long first = 1;; first += 10) {
        if (ShouldEnd(context, searchId)) {
            return;
        }
        const std::string page = FetchCompleteEngine1Page(
            context, searchId, Engine1PageUrl(context.urls.engine1, term, first));
        if (page.empty()) {
            return;
        }
        const Engine1Page scraped = ScrapeEngine1Page(page);
        for (const ScrapedResult& result : scraped.results) {
            context.sink.AddWebResult(searchId, result.link, result.name, WebEngineId::Engine1);
        }
        if (!scraped.hasNextPage) {
            return;
        }
    }
}

void Engine2PageThread(const EngineContext& context, int searchId, const std::string& term) {
    const std::string page =
        context.fetcher.FetchPostPage(Engine2PageUrl(context.urls.engine2, term));
    if (page.empty()) {
        return;
    }
    for (DetailEntry& entry : ScrapeEngine2Page(page, context.urls.engine2 + "/")) {
        if (ShouldEnd(context, searchId)) {
            return;
        }
        context.startEngine2Detail(searchId, std::move(entry));
    }
}

void Engine2DetailThread(const EngineContext& context, int searchId, const DetailEntry& entry) {
    if (ShouldEnd(context, searchId)) {
        return;
    }
    const std::string link = ScrapeEngine2DownloadLink(context.fetcher.FetchPage(entry.detailLink));
    if (link.empty()) {
        return;
    }
    context.sink.AddWebResult(searchId, link,
                              DetailResultName(entry.title, link, WmaRule::BecomesMp3),
                              WebEngineId::Engine2);
}

void Engine3Thread(const EngineContext& context, int searchId, const std::string& term) {
    const std::string& base = context.urls.engine3;
    for (long page = 1; Engine3PageStep(context, searchId, Engine3ArtistPageUrl(base, term, page));
         ++page) {
    }
    for (long page = 1; Engine3PageStep(context, searchId, Engine3TitlePageUrl(base, term, page));
         ++page) {
    }
}

}  // namespace korvana
