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

enum class PageStep { Next, End, OverTime };

// A page that arrived in part is fetched again until it is whole. A fetch
// that brought nothing at all ends the paging at once: retrying a server
// that is down would hold a worker for minutes. So does a fetch that ran
// out of time (the caller asks LastFetchOverran).
std::string FetchCompleteEngine1Page(const EngineContext& context, int searchId,
                                     const std::string& url) {
    std::string page = context.fetcher.FetchWithSystemHttp(url);
    for (int refetch = 0; refetch < context.tuning.engine1RefetchLimit && !page.empty() &&
                          !IsEngine1PageComplete(page);
         ++refetch) {
        page = context.fetcher.FetchWithSystemHttp(url);
        if (context.fetcher.LastFetchOverran()) {
            return {};
        }
        if (!context.fetcher.Pause(context.tuning.engine1RefetchDelay) ||
            context.sink.IsSearchStopped(searchId)) {
            return {};
        }
    }
    return page;
}

// One listing page of the third engine and its entries' detail pages.
PageStep Engine3PageStep(const EngineContext& context, int searchId, const std::string& url) {
    if (ShouldEnd(context, searchId)) {
        return PageStep::End;
    }
    const std::string listing = context.fetcher.FetchPage(url);
    if (context.fetcher.LastFetchOverran()) {
        return PageStep::OverTime;
    }
    const Engine3Page page = ScrapeEngine3Page(listing, context.urls.engine3 + "/http_search/");
    for (const DetailEntry& entry : page.entries) {
        if (ShouldEnd(context, searchId)) {
            return PageStep::End;
        }
        const std::string detail = context.fetcher.FetchPage(entry.detailLink);
        if (context.fetcher.LastFetchOverran()) {
            return PageStep::OverTime;
        }
        const std::string link = ScrapeEngine3DownloadLink(detail);
        if (!link.empty()) {
            context.sink.AddWebResult(searchId, link,
                                      DetailResultName(entry.title, link, WmaRule::Keep),
                                      WebEngineId::Engine3);
        }
    }
    return page.hasNextPage ? PageStep::Next : PageStep::End;
}

// Every page of one listing (artist or title) in turn; false when a fetch
// ran out of time.
template <typename PageUrl>
bool Engine3Listing(const EngineContext& context, int searchId, PageUrl pageUrl) {
    for (long page = 1;; ++page) {
        switch (Engine3PageStep(context, searchId, pageUrl(page))) {
            case PageStep::Next:
                break;
            case PageStep::End:
                return true;
            case PageStep::OverTime:
                return false;
        }
    }
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

bool Engine1Task(const EngineContext& context, int searchId, const std::string& term) {
    for (long first = 1;; first += 10) {
        if (ShouldEnd(context, searchId)) {
            return true;
        }
        const std::string page = FetchCompleteEngine1Page(
            context, searchId, Engine1PageUrl(context.urls.engine1, term, first));
        if (page.empty()) {
            return !context.fetcher.LastFetchOverran();
        }
        const Engine1Page scraped = ScrapeEngine1Page(page);
        for (const ScrapedResult& result : scraped.results) {
            context.sink.AddWebResult(searchId, result.link, result.name, WebEngineId::Engine1);
        }
        if (!scraped.hasNextPage) {
            return true;
        }
    }
}

bool Engine2PageTask(const EngineContext& context, int searchId, const std::string& term) {
    const std::string page =
        context.fetcher.FetchPostPage(Engine2PageUrl(context.urls.engine2, term));
    if (page.empty()) {
        return !context.fetcher.LastFetchOverran();
    }
    for (DetailEntry& entry : ScrapeEngine2Page(page, context.urls.engine2 + "/")) {
        if (ShouldEnd(context, searchId)) {
            return true;
        }
        context.startEngine2Detail(searchId, std::move(entry));
    }
    return true;
}

bool Engine2DetailTask(const EngineContext& context, int searchId, const DetailEntry& entry) {
    if (ShouldEnd(context, searchId)) {
        return true;
    }
    const std::string detail = context.fetcher.FetchPage(entry.detailLink);
    if (context.fetcher.LastFetchOverran()) {
        return false;
    }
    const std::string link = ScrapeEngine2DownloadLink(detail);
    if (!link.empty()) {
        context.sink.AddWebResult(searchId, link,
                                  DetailResultName(entry.title, link, WmaRule::BecomesMp3),
                                  WebEngineId::Engine2);
    }
    return true;
}

bool Engine3Task(const EngineContext& context, int searchId, const std::string& term) {
    const std::string& base = context.urls.engine3;
    return Engine3Listing(context, searchId,
                          [&](long page) { return Engine3ArtistPageUrl(base, term, page); }) &&
           Engine3Listing(context, searchId,
                          [&](long page) { return Engine3TitlePageUrl(base, term, page); });
}

}  // namespace korvana
