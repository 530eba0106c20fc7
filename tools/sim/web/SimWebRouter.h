#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/web/SimWebCatalogue.h"

namespace korvana::sim {

// One request as the simulated web received it.
struct SimRequest {
    std::string method;
    // As on the request line: path and query.
    std::string target;
    std::string version;
    std::string body;
    // Every byte received, request line to body.
    std::string raw;
};

// One answer: the head (status line, header lines and blank line, possibly
// after an interim answer), a body, and a count of generated file bytes sent
// after the body.
struct SimReply {
    std::string head;
    std::string body;
    std::uint64_t generatedBytes = 0;
};

// Switches that make the simulated web misbehave.
struct SimWebFaults {
    // Above zero: every answer is sent one byte at a time, this far apart.
    std::chrono::milliseconds trickleInterval{0};
    // Set: only this many bytes of every answer are sent, then nothing more
    // until the client gives up.
    std::optional<std::size_t> stallAfterBytes;
    // Files announce a Content-Length 1000 bytes above what they send.
    bool lyingLength = false;
    // Files answer with a redirect to themselves.
    bool redirectLoop = false;
    // Every answer is bytes that are not HTTP.
    bool garbage = false;
    // The connection is reset as soon as the request has been read.
    bool reset = false;
    // Every answer waits this long before it is sent.
    std::chrono::milliseconds answerDelay{0};
    // Every page of the first engine is served cut short this many times
    // before it is served whole.
    int engine1IncompleteTimes = 0;
};

// Turns requests into answers: overrides set by tests first, then the three
// engines, the Internet Archive's search, metadata and downloads, the files, the vendor's paths and
// the test paths (see SimWebServer.h for the layout). Thread-safe.
class SimWebRouter {
  public:
    explicit SimWebRouter(std::vector<SimTrack> catalogue);

    SimReply Route(const SimRequest& request, const std::string& selfUrl,
                   const SimWebFaults& faults);

    void SetCatalogue(std::vector<SimTrack> catalogue);
    // Serves `body` with `status` for a request whose target (path and query)
    // or path alone equals `target`.
    void SetPage(const std::string& target, std::string body, int status = 200,
                 std::string contentType = "text/html");
    // Serves exactly these bytes (no header is added) for that target.
    void SetRawResponse(const std::string& target, std::string raw);

  private:
    std::optional<SimReply> Override(const std::string& target, const std::string& path);
    SimReply RouteEngine(const std::string& path, const SimRequest& request, std::string_view query,
                         const std::string& selfUrl, const SimWebFaults& faults);
    SimReply Engine1(const SimRequest& request, std::string_view query, const std::string& selfUrl,
                     const SimWebFaults& faults);
    SimReply Engine3(std::string_view query);
    SimReply Detail(std::string_view query, bool engine2, const std::string& selfUrl);
    SimReply Archive(const std::string& path, const SimRequest& request, std::string_view query,
                     const SimWebFaults& faults);
    SimReply File(const std::string& path, const SimRequest& request, const SimWebFaults& faults);
    // A file's answer; `kind` is its path's first folder ("/files/" and so on).
    SimReply FileReply(const std::string& kind, std::uint64_t size, const SimRequest& request,
                       const SimWebFaults& faults);

    std::mutex mutex_;
    std::vector<SimTrack> catalogue_;
    std::map<std::string, SimReply> overrides_;
    std::map<std::string, int> engine1Served_;
};

// A complete answer with Content-Length.
SimReply MakeReply(int status, std::string body, std::string_view contentType = "text/html");

}  // namespace korvana::sim
