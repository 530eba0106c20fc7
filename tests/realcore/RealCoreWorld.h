#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/CoreConfig.h"
#include "core/CoreLink.h"
#include "platform/Clock.h"
#include "tests/realcore/LoopbackServers.h"
#include "tests/realcore/RealCore.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RecordingSinks.h"
#include "tests/support/TempDir.h"
#include "transfers/TransferList.h"

namespace korvana::realcore {

using namespace std::chrono_literals;

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 60s);

// Settings in memory that the core link's thread may read while a test
// writes them.
class SharedSettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(const std::string& key) const override {
        const std::lock_guard lock(mutex_);
        return values_.Read(key);
    }
    void Write(const std::string& key, const std::string& value) override {
        const std::lock_guard lock(mutex_);
        values_.Write(key, value);
    }
    void Remove(const std::string& key) override {
        const std::lock_guard lock(mutex_);
        values_.Remove(key);
    }

  private:
    mutable std::mutex mutex_;
    test::MemorySettings values_;
};

// A real core in a temporary folder and the program's core link logged in
// to it, with the program's own transfer list and settings. Every test is
// skipped, with the reason, where a real core cannot run (see
// WhyNoRealCore).
class RealCoreWorld : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Connects a new core link, as a starting program does, and waits for
    // the log-in and the core's first list of shared folders.
    void ConnectLink();
    // The transfer list's record of the core's file `number`.
    std::optional<TransferItem> Download(std::int32_t number);
    // The core's file number of the download named `name`, once listed.
    std::optional<std::int32_t> FileNumberOf(const std::string& name);
    // Waits until the transfer list shows the file in `state`.
    bool ReachesState(std::int32_t number, int state);
    std::string Console(const std::string& command);
    std::filesystem::path DownloadsFolder();
    void SetDownloadsFolder(const std::filesystem::path& folder);

    test::TempDir dir;
    SharedSettings settings;
    test::RecordingPrompter prompter;
    std::unique_ptr<RealCore> core;
    SystemClock clock;
    StatusLog log;
    TransferList transfers{clock, log};
    RecordingResultSink results;
    std::unique_ptr<CoreLink> link;
    std::unique_ptr<CoreLinkOptions> options;
};

// The content of a test song of `size` bytes: no two files alike.
std::string SongBytes(std::size_t size, char seed);

std::string ReadFile(const std::filesystem::path& path);

}  // namespace korvana::realcore
