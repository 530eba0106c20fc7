#include "web/PageFetcher.h"

#include "web/HttpClient.h"
#include "web/StopSignal.h"
#include "web/SystemHttp.h"

namespace korvana {

HttpPageFetcher::HttpPageFetcher(const HttpOptions& options, const StopSignal& stop)
    : options_(options), stop_(stop) {
    options_.stop = &stop_;
}

std::string HttpPageFetcher::FetchPage(const std::string& url) {
    return korvana::FetchPage(url, RedirectJoin::SearchFamily, options_);
}

std::string HttpPageFetcher::FetchPostPage(const std::string& url) {
    return korvana::FetchPostPage(url, options_);
}

std::string HttpPageFetcher::FetchWithSystemHttp(const std::string& url) {
    return korvana::FetchWithSystemHttp(url, RedirectJoin::SearchFamily, options_);
}

bool HttpPageFetcher::Pause(std::chrono::milliseconds delay) {
    return stop_.WaitFor(delay);
}

bool HttpPageFetcher::Stopping() const {
    return stop_.Triggered();
}

}  // namespace korvana
