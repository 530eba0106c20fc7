#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace korvana::realcore {

// Why the real core cannot run here, or empty when it can: the path of a
// built mlnet must be in KORVANA_REAL_MLNET, and this process must be in a
// network namespace whose only interface is loopback, since the core tries
// to reach servers on the internet as soon as it starts.
std::string WhyNoRealCore();

// A real MLDonkey core with its files in `folder`, bound to loopback, with
// every network off but eDonkey (for a fake server) and fileTP (for HTTP
// downloads), and with local addresses allowed as peers. Killed when the
// object goes away if still running.
class RealCore {
  public:
    explicit RealCore(std::filesystem::path folder);
    ~RealCore();
    RealCore(const RealCore&) = delete;
    RealCore& operator=(const RealCore&) = delete;

    // Starts the core and waits until its console answers; false on time-out.
    bool Start(const std::vector<std::string>& extraArguments = {});
    // Logs every later console connection in first (`auth`), for a core
    // whose admin has a password.
    void SetConsoleLogin(std::string user, std::string password);
    // The console's answer to one command, without colour codes, prompt or
    // the echoed command; nullopt when the console cannot be reached.
    std::optional<std::string> Console(const std::string& command) const;
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    bool IsRunning() const;
    const std::filesystem::path& Folder() const { return folder_; }
    // What the core wrote: its output and its log file.
    std::string Log() const;

  private:
    std::filesystem::path folder_;
    std::unique_ptr<test::ChildProcess> process_;
    std::string consoleLogin_;
};

// The core console's text with terminal colour codes and telnet option
// bytes removed.
std::string PlainConsoleText(const std::string& raw);

}  // namespace korvana::realcore
