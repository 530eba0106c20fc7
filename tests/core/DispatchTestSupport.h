#pragma once

// A dispatcher wired to recording stand-ins, for tests of inbound messages.
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/CoreDispatcher.h"
#include "platform/Clock.h"
#include "tests/support/RecordingSinks.h"

namespace korvana::test {

class FixedClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return {}; }
    std::time_t WallNow() const override { return 1700000000; }
};

// Remembers every status-log line.
class LogLines {
  public:
    explicit LogLines(StatusLog& log) {
        log.AttachViewer([this](const std::string& line) {
            std::lock_guard lock(mutex_);
            lines_.push_back(line);
        });
    }
    std::vector<std::string> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(lines_, {});
    }
    std::vector<std::string> Copy() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Both recording sinks as one, as the core link sees its two sinks.
class RecordingSinks final : public CoreResultSink, public TransferSink {
  public:
    void AddCoreResult(std::shared_ptr<const PooledResult> result, std::int32_t searchId,
                       std::string_view network) override {
        results.AddCoreResult(std::move(result), searchId, network);
    }
    void AddOrUpdateDownload(TransferItem item) override {
        transfers.AddOrUpdateDownload(std::move(item));
    }
    void UpdateDownloadProgress(std::int32_t file, std::int64_t downloaded, double rate) override {
        transfers.UpdateDownloadProgress(file, downloaded, rate);
    }
    void AddOrUpdateUpload(UploadItem item) override {
        transfers.AddOrUpdateUpload(std::move(item));
    }

    RecordingResultSink results;
    RecordingTransferSink transfers;
};

class CountingListener final : public CoreLinkListener {
  public:
    void OnLoggedIn() override { ++loggedIn; }
    void OnClientStats() override { ++clientStats; }
    void OnLinkDown() override { ++linkDown; }
    void OnLoginRefused() override { ++loginRefused; }
    std::atomic<int> loggedIn{0};
    std::atomic<int> loginRefused{0};
    std::atomic<int> clientStats{0};
    std::atomic<int> linkDown{0};
};

struct DispatchRig {
    DispatchRig() : lines(log), dispatcher(log, clock, tables) {
        dispatcher.SetResultSink(&sinks);
        dispatcher.SetTransferSink(&sinks);
        dispatcher.SetListener(&listener);
    }
    StatusLog log;
    LogLines lines;
    FixedClock clock;
    CoreTables tables;
    RecordingSinks sinks;
    CountingListener listener;
    CoreDispatcher dispatcher;
};

}  // namespace korvana::test
