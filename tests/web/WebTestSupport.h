#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/SettingsStore.h"
#include "web/PageFetcher.h"
#include "web/WebResultSink.h"

namespace korvana::test {

// A saved page from tests/web/data/.
inline std::string WebTestPage(const std::string& name) {
    const auto path = std::filesystem::path(KORVANA_SOURCE_DIR) / "tests" / "web" / "data" / name;
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A result model that records every call and can be told a search stopped.
class RecordingSink final : public WebResultSink {
  public:
    struct Result {
        int searchId;
        std::string link;
        std::string name;
        WebEngineId engine;
        // -1 for a result that waits for its size probe.
        std::int64_t knownSize = -1;
        std::string info;
    };

    void OpenSearch(int searchId) override {
        std::lock_guard lock(mutex_);
        opened_.push_back(searchId);
    }
    bool AddWebResult(int searchId, const std::string& link, const std::string& name,
                      WebEngineId engine) override {
        std::lock_guard lock(mutex_);
        results_.push_back({searchId, link, name, engine, -1, {}});
        return true;
    }
    bool AddKnownWebResult(int searchId, const KnownWebResult& result,
                           WebEngineId engine) override {
        std::lock_guard lock(mutex_);
        results_.push_back({searchId, result.link, result.name, engine, result.size, result.info});
        return true;
    }
    bool IsSearchStopped(int searchId) const override {
        std::lock_guard lock(mutex_);
        return stopped_.count(searchId) != 0;
    }

    void Stop(int searchId) {
        std::lock_guard lock(mutex_);
        stopped_.insert(searchId);
    }
    std::vector<Result> Results() const {
        std::lock_guard lock(mutex_);
        return results_;
    }
    std::vector<int> Opened() const {
        std::lock_guard lock(mutex_);
        return opened_;
    }
    // "name <- link" of one engine's results, in arrival order.
    std::vector<std::string> NamesOf(WebEngineId engine) const {
        std::vector<std::string> names;
        for (const Result& result : Results()) {
            if (result.engine == engine) {
                names.push_back(result.name);
            }
        }
        return names;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<int> opened_;
    std::vector<Result> results_;
    std::set<int> stopped_;
};

// Settings held in memory.
class MapSettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(const std::string& key) const override {
        const auto found = values_.find(key);
        if (found == values_.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void Write(const std::string& key, const std::string& value) override { values_[key] = value; }
    void Remove(const std::string& key) override { values_.erase(key); }

  private:
    std::map<std::string, std::string> values_;
};

// Pages by URL, served without a network; every fetch is logged.
class ScriptedFetcher final : public PageFetcher {
  public:
    void Serve(const std::string& url, std::string page) {
        std::lock_guard lock(mutex_);
        pages_[url] = std::move(page);
    }
    // Called for URLs without a page; its answer is served.
    void ServeOthers(std::function<std::string(const std::string&)> source) {
        std::lock_guard lock(mutex_);
        others_ = std::move(source);
    }
    std::string FetchPage(const std::string& url) override { return Fetch("GET " + url, url); }
    std::string FetchPostPage(const std::string& url) override { return Fetch("POST " + url, url); }
    std::string FetchWithSystemHttp(const std::string& url) override {
        return Fetch("SYSTEM " + url, url);
    }
    bool Pause(std::chrono::milliseconds) override {
        ++pauses_;
        return true;
    }
    bool Stopping() const override { return false; }

    std::vector<std::string> Log() const {
        std::lock_guard lock(mutex_);
        return log_;
    }
    int Pauses() const { return pauses_.load(); }

  private:
    std::string Fetch(const std::string& entry, const std::string& url) {
        std::lock_guard lock(mutex_);
        log_.push_back(entry);
        const auto found = pages_.find(url);
        if (found != pages_.end()) {
            return found->second;
        }
        return others_ ? others_(url) : std::string();
    }

    mutable std::mutex mutex_;
    std::map<std::string, std::string> pages_;
    std::function<std::string(const std::string&)> others_;
    std::vector<std::string> log_;
    std::atomic<int> pauses_{0};
};

}  // namespace korvana::test
