#include "web/PageFetcher.h"

#include "util/StopSignal.h"
#include "web/HttpClient.h"
#include "web/SystemHttp.h"

namespace korvana {
namespace {

// Engines fetch on worker threads, one fetch after another; each thread
// keeps the outcome of its own last fetch.
thread_local bool lastFetchOverran = false;

std::string Noted(std::string page, HttpResult result) {
    lastFetchOverran = result == HttpResult::OverTime;
    return page;
}

}  // namespace

HttpPageFetcher::HttpPageFetcher(const HttpOptions& options, const StopSignal& stop)
    : options_(options), stop_(stop) {
    options_.stop = &stop_;
}

std::string HttpPageFetcher::FetchPage(const std::string& url) {
    HttpResult result = HttpResult::Ok;
    std::string page = korvana::FetchPage(url, RedirectJoin::SearchFamily, options_, &result);
    return Noted(std::move(page), result);
}

std::string HttpPageFetcher::FetchPostPage(const std::string& url) {
    HttpResult result = HttpResult::Ok;
    std::string page = korvana::FetchPostPage(url, options_, &result);
    return Noted(std::move(page), result);
}

std::string HttpPageFetcher::FetchWithSystemHttp(const std::string& url) {
    HttpResult result = HttpResult::Ok;
    std::string page =
        korvana::FetchWithSystemHttp(url, kSearchFamilySystemHttp, options_, &result);
    return Noted(std::move(page), result);
}

bool HttpPageFetcher::Pause(std::chrono::milliseconds delay) {
    return stop_.WaitFor(delay);
}

bool HttpPageFetcher::Stopping() const {
    return stop_.Triggered();
}

bool HttpPageFetcher::LastFetchOverran() const {
    return lastFetchOverran;
}

}  // namespace korvana
