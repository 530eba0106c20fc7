#pragma once

#include <filesystem>

namespace korvana {

// Finds and starts the core: the program `mlnet` in the core folder.
class CoreProcess {
  public:
    virtual ~CoreProcess() = default;
    // True while a process runs whose executable is <core folder>/mlnet.
    virtual bool IsCoreRunning() const = 0;
    // Starts <core folder>/mlnet detached, in the core folder. Failures are
    // not reported: the connection attempts that follow simply keep trying.
    virtual void LaunchCore() = 0;
    // Sends SIGTERM (or SIGKILL when `kill`) to the core this object
    // started, if that process still runs; true when a signal went out. A
    // core found running, not started here, is never signalled.
    virtual bool SignalStartedCore(bool kill) {
        static_cast<void>(kill);
        return false;
    }
};

// The real one: scans /proc for the executable and spawns it in its own
// session with MLDONKEY_DIR set to the core folder and its output in
// <core folder>/mlnet.log. The core is not our child (so it outlives us);
// its process id is passed back at the start so it can be stopped.
class PosixCoreProcess final : public CoreProcess {
  public:
    explicit PosixCoreProcess(std::filesystem::path coreFolder);
    // Runs `executable` (a core installed elsewhere) in the core folder.
    PosixCoreProcess(std::filesystem::path coreFolder, const std::filesystem::path& executable);
    bool IsCoreRunning() const override;
    void LaunchCore() override;
    bool SignalStartedCore(bool kill) override;

    // The process id of the core started last, or 0.
    int StartedPid() const { return startedPid_; }

  private:
    bool IsOurCore(int pid) const;

    std::filesystem::path coreFolder_;
    std::filesystem::path executable_;
    int startedPid_ = 0;
};

}  // namespace korvana
