#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Folders.h"
#include "core/StatusLog.h"
#include "platform/Clock.h"
#include "tests/support/FileText.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"
#include "tools/sim/web/SimWebCatalogue.h"
#include "tools/sim/web/SimWebServer.h"
#include "transfers/TransferList.h"
#include "transfers/TransferTexts.h"
#include "web/download/WebDownloads.h"

namespace korvana::test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The simulated web, a transfer list and the web downloads writing into a
// temporary install folder.
class WebDownloadTest : public ::testing::Test {
  protected:
    static constexpr auto kPatience = 20s;

    void SetUp() override {
        ASSERT_TRUE(server.Start());
        install = temp.Path() / "install";
        fs::create_directories(install);
    }

    // A download manager with the given idle time-out (shortened for tests
    // that wait it out) and number of downloads at once.
    void MakeDownloads(std::chrono::milliseconds idle = 10s, std::size_t maxRunning = 4) {
        WebDownloadsConfig config;
        config.incompleteFolder = install / "Incomplete";
        config.downloadsFolder = [this] { return GetDownloadsFolder(install, settings); };
        config.idleTimeout = idle;
        config.maxRunning = maxRunning;
        downloads = std::make_unique<WebDownloads>(list, config);
    }

    std::string FileLink(const std::string& kind, const std::string& name) const {
        return server.BaseUrl() + "/" + kind + "/" + sim::PercentEncodePath(name);
    }

    bool Start(const std::string& link, const std::string& name) {
        if (!downloads) {
            MakeDownloads();
        }
        return downloads->StartWebDownload(link, name);
    }

    bool WaitForAll() { return downloads->WaitUntilIdle(kPatience); }

    TransferItem Record(const std::string& key) {
        const auto lock = list.Lock();
        const TransferItem* item = list.FindDownload(TransferKey::Web(key));
        return item != nullptr ? *item : TransferItem{};
    }

    std::string Status(const std::string& key) {
        TransferItem item = Record(key);
        return DownloadStatusText(item, clock.WallNow());
    }

    fs::path Incomplete() const { return install / "Incomplete"; }
    fs::path DefaultDownloads() const { return install / "Downloads"; }

    static std::vector<std::string> Files(const fs::path& folder) {
        std::vector<std::string> names;
        if (fs::exists(folder)) {
            for (const auto& entry : fs::directory_iterator(folder)) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // What the simulated web sends for a catalogue file of `size` bytes.
    static std::string CatalogueBytes(std::uint64_t size) {
        std::string bytes(size, '\0');
        sim::FillMp3Bytes(0, bytes.data(), bytes.size());
        return bytes;
    }

    TempDir temp;
    fs::path install;
    MemorySettings settings;
    SystemClock clock;
    StatusLog log;
    TransferList list{clock, log};
    sim::SimWebServer server;
    std::unique_ptr<WebDownloads> downloads;
};

// The first file of the simulated web's catalogue.
inline const sim::SimTrack& FirstTrack() {
    static const sim::SimTrack track = sim::DefaultWebCatalogue().front();
    return track;
}

}  // namespace korvana::test
