// The core link against the simulated core: searches, downloads through
// every state, and options, end to end over loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "core/CoreLink.h"
#include "platform/Clock.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/RecordingSinks.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit = 30s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

struct LinkToSim {
    explicit LinkToSim(std::vector<std::string> options)
        : sim(dir.Path(), std::move(options)), link(Config(), log, prompter, clock) {
        link.SetSearchSink(&results);
        link.SetTransferSink(&transfers);
        link.StartReceiveThread();
    }

    CoreLinkConfig Config() const {
        CoreLinkConfig config;
        config.host = "127.0.0.1";
        config.port = static_cast<std::uint16_t>(sim.Port());
        config.downloadsFolder = [this] { return (dir.Path() / "Downloads").string(); };
        return config;
    }

    // The state the newest download list gave `fileNumber`, or -1.
    int LatestState(std::int32_t fileNumber) const {
        int state = -1;
        for (const TransferItem& item : transfers.Downloads()) {
            if (item.key == TransferKey::Core(fileNumber)) {
                state = item.coreState;
            }
        }
        return state;
    }

    test::TempDir dir;
    sim::test::SimProcess sim;
    StatusLog log;
    test::RecordingPrompter prompter;
    SystemClock clock;
    RecordingResultSink results;
    RecordingTransferSink transfers;
    CoreLink link;
};

TEST(CoreLinkWithSimulatedCore, SearchDownloadPauseResumeAndFinish) {
    LinkToSim world({"--download-rate", "1500000"});
    ASSERT_TRUE(Eventually([&] { return world.link.IsLoggedIn(); }));

    world.results.AddSearch(0);
    SearchTerms terms;
    terms.keywords = "a";
    world.link.SendSearchQuery(0, terms);
    ASSERT_TRUE(Eventually([&] { return !world.results.Results().empty(); }));
    const RecordingResultSink::Handed first = world.results.Results().front();
    EXPECT_EQ(first.searchId, 0);
    EXPECT_GT(first.size, 0);

    world.link.SendDownloadRequest(first.name, first.resultId);
    ASSERT_TRUE(Eventually([&] { return !world.transfers.Downloads().empty(); }));
    const std::int32_t file = world.transfers.Downloads().front().key.FileNumber();
    EXPECT_EQ(world.transfers.Downloads().front().name, first.name);

    auto reaches = [&](int state) {
        return Eventually([&] {
            world.link.AskDownloadingFiles();
            std::this_thread::sleep_for(50ms);
            return world.LatestState(file) == state;
        });
    };
    ASSERT_TRUE(reaches(0));  // downloading
    world.link.SendSwitchDownload(file, false);
    ASSERT_TRUE(reaches(1));  // paused
    world.link.SendSwitchDownload(file, true);
    ASSERT_TRUE(reaches(0));
    ASSERT_TRUE(reaches(2));  // downloaded
    const fs::path finished = world.dir.Path() / "Downloads" / first.name;
    ASSERT_TRUE(fs::exists(finished)) << finished;
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(finished)), first.size);
}

TEST(CoreLinkWithSimulatedCore, OptionsSetByCommandComeBack) {
    LinkToSim world({});
    ASSERT_TRUE(Eventually([&] { return world.link.IsLoggedIn(); }));
    ASSERT_TRUE(Eventually([&] { return !world.link.OptionValue("max_upload_slots").empty(); }));
    world.link.SendSetOption("max_upload_slots", "17");
    EXPECT_TRUE(Eventually([&] { return world.link.OptionValue("MAX_UPLOAD_SLOTS") == "17"; }));
}

}  // namespace
}  // namespace korvana
