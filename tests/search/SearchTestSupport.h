#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/CoreResult.h"
#include "core/CoreSinks.h"
#include "search/CoreCommands.h"
#include "search/DownloadStarter.h"
#include "search/SearchSession.h"
#include "search/SizeProbes.h"
#include "web/PageFetcher.h"

namespace korvana::test {

// The names the core link gives networks 1 and 2; any other is unknown.
inline std::string_view NetworkNameFor(std::int32_t number) {
    return number == 1 ? "Donkey" : (number == 2 ? "BitTorrent" : "unknown");
}

// Web engines that find nothing and end at once.
class SilentWeb final : public PageFetcher {
  public:
    std::string FetchPage(const std::string&) override { return {}; }
    std::string FetchPostPage(const std::string&) override { return {}; }
    std::string FetchWithSystemHttp(const std::string&) override { return {}; }
    bool Pause(std::chrono::milliseconds) override { return false; }
    bool Stopping() const override { return true; }
};

// Polls `condition` until it holds; false after `timeout`.
template <typename Condition>
bool PollUntil(Condition condition, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Probes that wait until the test runs them, with headers the test sets.
class ManualProbes final : public HeaderProbes {
  public:
    void Start(std::function<void()> probe) override {
        if (!stopped) {
            waiting.push_back(std::move(probe));
        }
    }
    std::string FetchHeader(const std::string& url) override {
        fetched.push_back(url);
        const auto found = headers.find(url);
        return found == headers.end() ? std::string() : found->second;
    }
    void Stop() override {
        stopped = true;
        waiting.clear();
    }
    // Runs the oldest waiting probe; false when none waits.
    bool RunNext() {
        if (waiting.empty()) {
            return false;
        }
        std::function<void()> probe = std::move(waiting.front());
        waiting.pop_front();
        probe();
        return true;
    }
    void RunAll() {
        while (RunNext()) {
        }
    }

    std::map<std::string, std::string> headers;
    std::deque<std::function<void()>> waiting;
    std::vector<std::string> fetched;
    bool stopped = false;
};

// The session's parts for a test: engines that find nothing, probes the
// test runs (owned by the session from here on).
inline SearchSessionOptions QuietSessionOptions(PageFetcher& fetcher, HeaderProbes* probes) {
    SearchSessionOptions options(EngineUrls{}, {});
    options.fetcher = &fetcher;
    options.probes.reset(probes);
    return options;
}

inline std::string OkHeader(long long length) {
    return "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nContent-Length: " +
           std::to_string(length);
}

// A core result as the core link hands it over: the pool's record and the
// search it was reported for. The record may still be changed before it is
// handed over.
struct HandedCoreResult {
    std::int32_t searchId = 0;
    std::shared_ptr<PooledResult> record;

    PooledResult* operator->() const { return record.get(); }
};

// `tags` as PooledResult::Tags holds them: "artist\ntitle\nalbum".
inline HandedCoreResult MakeCoreResult(std::int32_t searchId, std::int32_t resultId,
                                       const std::string& name, std::int64_t size,
                                       std::int32_t network = 1, const std::string& tags = {}) {
    // The record's name and tags live beside it, one after the other, as
    // they live in the pool's store.
    struct Owned {
        std::string text;
        PooledResult record;
    };
    auto owned = std::make_shared<Owned>();
    owned->text = name + tags;
    owned->record = PooledResult{resultId,
                                 network,
                                 size,
                                 1,
                                 0,
                                 std::string_view(owned->text).substr(0, name.size()),
                                 static_cast<std::uint16_t>(tags.size())};
    return {searchId, std::shared_ptr<PooledResult>(owned, &owned->record)};
}

// Hands the result over as the core link does, named by its network.
inline void HandOver(CoreResultSink& sink, const HandedCoreResult& result) {
    sink.AddCoreResult(result.record, result.searchId, NetworkNameFor(result->networkNumber));
}

// Commands recorded in order, one line each.
class RecordingCommands final : public CoreCommands {
  public:
    void SendSearchQuery(std::int32_t searchId, const SearchTerms& terms) override {
        searches.push_back({searchId, terms});
        log.push_back("search " + std::to_string(searchId));
    }
    void SendCloseQuery(std::int32_t searchId) override {
        log.push_back("close " + std::to_string(searchId));
    }
    void SendDownloadRequest(std::string_view fileName, std::int32_t resultId) override {
        log.push_back("download " + std::string(fileName) + " " + std::to_string(resultId));
    }
    bool IsConnected() const override { return connected; }
    std::string ConnectionProblem() const override { return problem; }
    bool connected = true;
    std::string problem;

    struct Search {
        std::int32_t id;
        SearchTerms terms;
    };
    std::vector<Search> searches;
    std::vector<std::string> log;
};

// A transfer list that holds the downloads the test names and records the
// web downloads started.
class RecordingDownloads final : public DownloadStarter {
  public:
    bool HasTransfer(const std::string& linkOrName, bool isWeb) const override {
        asked.push_back((isWeb ? "web " : "core ") + linkOrName);
        return (isWeb ? webKeys : coreNames).count(linkOrName) != 0;
    }
    void StartWebDownload(const std::string& link, const std::string& fileName) override {
        started.push_back(link + " -> " + fileName);
    }

    std::set<std::string> webKeys;
    std::set<std::string> coreNames;
    mutable std::vector<std::string> asked;
    std::vector<std::string> started;
};

}  // namespace korvana::test
