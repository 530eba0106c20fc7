#pragma once

#include <chrono>
#include <string>

#include "web/HttpOptions.h"

namespace korvana {

class StopSignal;

// How the engines fetch their pages and pause between refetches. The real
// one goes through the HTTP client; tests may script pages instead.
class PageFetcher {
  public:
    virtual ~PageFetcher() = default;
    // FetchPage of the socket client, search family.
    virtual std::string FetchPage(const std::string& url) = 0;
    // FetchPostPage of the socket client.
    virtual std::string FetchPostPage(const std::string& url) = 0;
    // FetchWithSystemHttp, search family.
    virtual std::string FetchWithSystemHttp(const std::string& url) = 0;
    // Waits `delay`; false when the program is shutting down.
    virtual bool Pause(std::chrono::milliseconds delay) = 0;
    // True once the program is shutting down: engines end at their next step.
    virtual bool Stopping() const = 0;
    // True when the last fetch made on the calling thread was cut off by
    // its total time-out: its server sends without end or too slowly.
    virtual bool LastFetchOverran() const { return false; }
};

// The fetcher on the HTTP client, with the given limits; `stop` ends every
// fetch and pause at once.
class HttpPageFetcher final : public PageFetcher {
  public:
    HttpPageFetcher(const HttpOptions& options, const StopSignal& stop);

    std::string FetchPage(const std::string& url) override;
    std::string FetchPostPage(const std::string& url) override;
    std::string FetchWithSystemHttp(const std::string& url) override;
    bool Pause(std::chrono::milliseconds delay) override;
    bool Stopping() const override;
    bool LastFetchOverran() const override;

  private:
    HttpOptions options_;
    const StopSignal& stop_;
};

}  // namespace korvana
