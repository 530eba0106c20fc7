#pragma once

#include <list>
#include <memory>
#include <string>

#include "tools/sim/CoreState.h"
#include "tools/sim/FrameReader.h"
#include "tools/sim/Session.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {

// The simulated core's one thread: a poll() loop over the listening socket
// and the front ends' connections, ticking the core and the sessions.
class SimServer final : public Audience {
  public:
    static constexpr int kTickMs = 20;
    static constexpr std::size_t kMaxWritePerPass = 4 << 20;

    explicit SimServer(const SimConfig& config);
    ~SimServer() override;
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Binds, writes the ready file and serves until a shutdown message or
    // SIGINT/SIGTERM. Returns the process exit status.
    int Run(CoreState& core);
    // Set by the signal handler.
    static void RequestStop();

    void Broadcast(const GuiMessage& message) override;

  private:
    struct Connection {
        int fd = -1;
        FrameReader reader;
        std::unique_ptr<Session> session;
    };

    bool Listen(std::string& error);
    bool WriteReadyFile(int port) const;
    void Accept(CoreState& core);
    void Read(Connection& connection);
    void Write(Connection& connection);
    void ReportFloodSent(Session& session);
    void Trace(const std::vector<std::uint8_t>& body) const;
    void Serve(CoreState& core);

    SimConfig config_;
    int listener_ = -1;
    int trace_ = -1;
    bool accepted_ = false;
    std::list<Connection> connections_;
};

}  // namespace korvana::sim
