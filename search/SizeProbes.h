#pragma once

#include <functional>
#include <string>

#include "util/StopSignal.h"
#include "util/TaskPool.h"
#include "web/HttpOptions.h"

namespace korvana {

// Size probes running at once, at most.
inline constexpr int kMaxRunningProbes = 10;

// How the size probes reach the network: a worker thread for
// each probe and the fetch of a link's header. Tests replace it to run the
// probes when they choose.
class HeaderProbes {
  public:
    virtual ~HeaderProbes() = default;
    // Runs `probe` on a worker thread. The pacer never asks for more than
    // kMaxRunningProbes at once.
    virtual void Start(std::function<void()> probe) = 0;
    // The header of a GET of `url` (redirects followed); empty on failure.
    // Called on the worker.
    virtual std::string FetchHeader(const std::string& url) = 0;
    // Ends every fetch at once and joins the workers; afterwards no probe
    // runs and Start does nothing.
    virtual void Stop() = 0;
};

// Probes through the HTTP client on a bounded pool of threads.
class HttpHeaderProbes final : public HeaderProbes {
  public:
    explicit HttpHeaderProbes(HttpOptions options = {});
    ~HttpHeaderProbes() override;

    void Start(std::function<void()> probe) override;
    std::string FetchHeader(const std::string& url) override;
    void Stop() override;

  private:
    StopSignal stop_;
    HttpOptions options_;
    TaskPool pool_;
};

}  // namespace korvana
