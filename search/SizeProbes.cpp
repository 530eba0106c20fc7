#include "search/SizeProbes.h"

#include "web/HttpClient.h"

namespace korvana {

HttpHeaderProbes::HttpHeaderProbes(HttpOptions options)
    : options_(options), pool_(static_cast<std::size_t>(kMaxRunningProbes)) {
    options_.stop = &stop_;
}

HttpHeaderProbes::~HttpHeaderProbes() {
    Stop();
}

void HttpHeaderProbes::Start(std::function<void()> probe) {
    pool_.Post(std::move(probe));
}

std::string HttpHeaderProbes::FetchHeader(const std::string& url) {
    return korvana::FetchHeader(url, options_);
}

void HttpHeaderProbes::Stop() {
    stop_.Trigger();
    pool_.Stop();
}

}  // namespace korvana
