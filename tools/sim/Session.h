#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <unordered_set>
#include <vector>

#include "core/GuiMessage.h"
#include "tools/sim/CoreState.h"
#include "tools/sim/GuiRequests.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {

// One front end's connection to the simulated core: the hello, the log-in,
// the requests and the searches it runs, and the bytes waiting to go out.
// The faults that end a connection (close after N frames, garbage, a drop
// in mid-frame) hit only the first connection, so a front end that
// reconnects gets a working core.
class Session {
  public:
    static constexpr std::size_t kResultsPerBatch = 20;
    static constexpr auto kBatchInterval = std::chrono::milliseconds(100);
    static constexpr std::size_t kMaxResultsPerSearch = 300;
    // A flood is topped up while less than this waits to be sent.
    static constexpr std::size_t kFloodLowWater = 256 * 1024;
    // A peer that leaves this much unread is not reading at all.
    static constexpr std::size_t kMaxPendingOutput = 64 << 20;

    Session(CoreState& core, const FaultSwitches& faults, bool firstConnection,
            SimClock::time_point now);

    void OnFrame(std::span<const std::uint8_t> body);
    void Tick(SimClock::time_point now);
    // Tops up result floods; called whenever output has drained.
    void Pump();
    // True once for each flood, when its last result has left the output
    // buffer: measurements of the front end count from then.
    bool TakeFloodSent();
    // News from the core, passed on once the front end has logged in.
    void Deliver(const GuiMessage& message);

    bool LoggedIn() const { return loggedIn_; }
    // No more reading; the connection closes once the output is sent.
    bool Closing() const { return closing_; }
    std::span<const std::uint8_t> PendingOutput() const;
    void Consume(std::size_t n);

  private:
    struct RunningSearch {
        std::vector<std::size_t> songs;
        std::size_t next = 0;
        std::int64_t floodLeft = 0;
    };

    void Send(const GuiMessage& message);
    void SendBytes(const std::vector<std::uint8_t>& bytes);
    void Handle(const GuiRequest& request);
    void HandleLoggedIn(const GuiRequest& request);
    void LogIn();
    void SendWelcome();
    void SendUnknownOpcodes();
    void StartSearch(const SearchQuery& search);
    void SendFaultyResults(std::int32_t searchId);
    void SendResult(std::int32_t searchId, std::size_t song, bool remember);
    void SendDownloadList();

    CoreState& core_;
    FaultSwitches faults_;
    std::vector<std::uint8_t> output_;
    std::size_t sent_ = 0;
    SimClock::time_point helloDue_;
    bool helloPending_;
    bool loggedIn_ = false;
    bool closing_ = false;
    std::int64_t framesReceived_ = 0;
    std::map<std::int32_t, RunningSearch> searches_;
    SimClock::time_point nextBatch_;
    std::unordered_set<std::int32_t> describedResults_;
    std::unordered_set<std::int32_t> reportedEnds_;
    bool floodQueued_ = false;
};

}  // namespace korvana::sim
