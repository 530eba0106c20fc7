#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "core/GuiMessage.h"
#include "tools/sim/Catalogue.h"
#include "tools/sim/CoreMessages.h"
#include "tools/sim/CoreOptions.h"
#include "tools/sim/DownloadTable.h"
#include "tools/sim/GuiRequests.h"
#include "tools/sim/SharedFolders.h"

namespace korvana::sim {

using SimClock = std::chrono::steady_clock;

// Where the core's news goes: every logged-in front end.
class Audience {
  public:
    virtual ~Audience() = default;
    virtual void Broadcast(const GuiMessage& message) = 0;
};

struct CoreSetup {
    std::filesystem::path folder;
    WireForm form = WireForm::kDocumented;
    std::int64_t downloadRate = 200000;
    bool periodicStats = true;
    std::size_t catalogueSize = 2000;
    std::vector<CatalogueEntry> listed;
};

SharedFileInfo DescribeShared(const SharedFile& file);

// The simulated core itself, shared by all connections: options, networks,
// the catalogue searches draw from, downloads, shared folders and uploads.
// Time comes in through Tick, so it runs the same under a test's clock.
class CoreState {
  public:
    static constexpr auto kUpdateInterval = std::chrono::seconds(1);
    static constexpr auto kStatsInterval = std::chrono::seconds(2);

    CoreState(CoreSetup setup, Audience& audience, SimClock::time_point now);

    WireForm Form() const { return setup_.form; }
    const Catalogue& Songs() const { return catalogue_; }
    const CoreOptions& Options() const { return options_; }
    const SharedFolders& Shares() const { return shares_; }
    std::filesystem::path IniPath() const { return setup_.folder / "downloads.ini"; }
    bool Save() const;

    // What a front end gets right after its log-in.
    std::vector<GuiMessage> WelcomeMessages() const;
    void SetOptions(const std::vector<OptionPair>& pairs, bool save);
    GuiMessage RunConsole(std::string_view line);
    void StartDownload(const DownloadQuery& query);
    void SwitchDownload(std::int32_t number, bool resume);
    void CancelDownload(std::int32_t number);
    std::vector<DownloadInfo> Downloads() const;
    std::vector<GuiMessage> UploadStats() const;
    GuiMessage Stats() const;

    // Catalogue indexes of the songs answering `query`, at most `limit`.
    std::vector<std::size_t> Search(const QueryNode& query, std::size_t limit) const;
    // The result describing a song; absent while no network is enabled.
    std::optional<ResultInfo> Result(std::size_t index) const;
    // A song index no search has offered yet, for result floods.
    std::size_t NextFloodIndex() { return floodEnd_++; }

    void Tick(SimClock::time_point now);
    void RequestShutdown() { shutdownRequested_ = true; }
    bool ShutdownRequested() const { return shutdownRequested_; }

  private:
    void Load();
    void RescanShares();
    void Complete(std::int32_t number);
    void SendUpdates();
    void StepUploads();
    std::filesystem::path IncomingFolder() const;
    std::vector<std::int32_t> EnabledNetworks() const;

    CoreSetup setup_;
    Audience& audience_;
    Catalogue catalogue_;
    CoreOptions options_;
    SharedFolders shares_;
    DownloadTable downloads_;
    std::size_t floodEnd_;
    std::size_t uploadCursor_ = 0;
    std::uint64_t uploadedTotal_ = 0;
    std::int32_t uploadRate_ = 0;
    SimClock::time_point lastTick_;
    SimClock::time_point nextUpdate_;
    SimClock::time_point nextStats_;
    bool shutdownRequested_ = false;
};

}  // namespace korvana::sim
