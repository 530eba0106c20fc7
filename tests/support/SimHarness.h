#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/GuiMessage.h"
#include "tests/support/ChildProcess.h"

namespace korvana::sim::test {

using namespace std::chrono_literals;

// Generous: these only bound a wait for something that normally comes at
// once, on a loaded machine.
inline constexpr std::chrono::milliseconds kPatience = 10s;

struct Frame {
    int opcode = 0;
    std::vector<std::uint8_t> payload;

    // A reader positioned at the payload's start.
    GuiMessage Reader() const;
};

// korvana-sim started on a free loopback port in `folder`, with its core
// folder at folder/core, its trace at folder/trace.txt and its output in
// folder/sim.log. Killed when destroyed.
class SimProcess {
  public:
    SimProcess(const std::filesystem::path& folder, const std::vector<std::string>& options = {});

    // 0 when the program did not start listening.
    int Port() const { return port_; }
    std::filesystem::path CoreFolder() const { return folder_ / "core"; }
    // One line per frame the front end sent: the opcode, then the payload
    // in hex.
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }
    std::vector<std::string> TraceLines() const;
    void Signal(int number) { process_.Signal(number); }
    // The exit status, or absent when it has not exited in time.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout = kPatience) {
        return process_.WaitForExit(timeout);
    }

  private:
    static std::vector<std::string> Arguments(const std::filesystem::path& folder,
                                              const std::vector<std::string>& options);

    std::filesystem::path folder_;
    korvana::test::ChildProcess process_;
    int port_ = 0;
};

// A front end reduced to its socket: sends frames, reads frames.
class RawClient {
  public:
    explicit RawClient(int port);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    void Send(const GuiMessage& message);
    void SendAll(const std::vector<GuiMessage>& messages);  // in one write
    // Sends protocol version, extension list and password.
    void LogIn(const std::string& user = "admin", const std::string& password = "");
    // The next frame; absent on time-out or a closed connection.
    std::optional<Frame> Next(std::chrono::milliseconds timeout = kPatience);
    // Reads until a frame satisfies `wanted`.
    std::optional<Frame> WaitFor(const std::function<bool(const Frame&)>& wanted,
                                 std::chrono::milliseconds timeout = kPatience);
    std::optional<Frame> WaitForOpcode(int opcode, std::chrono::milliseconds timeout = kPatience);
    // Raw bytes until the peer closes; absent when it does not close in time.
    std::optional<std::vector<std::uint8_t>> ReadUntilClosed(
        std::chrono::milliseconds timeout = kPatience);

  private:
    bool Fill(std::chrono::steady_clock::time_point deadline);

    int fd_ = -1;
    std::vector<std::uint8_t> buffer_;
    bool closed_ = false;
};

// Builders for the front end's messages.
GuiMessage SearchMessage(std::int32_t id, const std::string& keywords);
GuiMessage StringsMessage(int opcode, const std::vector<std::string>& texts);
GuiMessage NumberMessage(int opcode, std::int32_t number);
GuiMessage SwitchMessage(std::int32_t file, bool resume);
GuiMessage DownloadMessage(const std::string& name, std::int32_t resultId);

// Reads one download entry of a download list in the front end's order.
struct ListedDownload {
    std::int32_t number = 0;
    std::uint64_t size = 0;
    std::uint64_t downloaded = 0;
    int state = -1;
    std::string name;
};
std::vector<ListedDownload> ReadDownloadList(const Frame& frame);

}  // namespace korvana::sim::test
