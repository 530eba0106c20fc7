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
};

// The real one: scans /proc for the executable and spawns it in its own
// session with MLDONKEY_DIR set to the core folder and its output in
// <core folder>/mlnet.log.
class PosixCoreProcess final : public CoreProcess {
  public:
    explicit PosixCoreProcess(std::filesystem::path coreFolder);
    bool IsCoreRunning() const override;
    void LaunchCore() override;

    const std::filesystem::path& Executable() const { return executable_; }

  private:
    std::filesystem::path coreFolder_;
    std::filesystem::path executable_;
};

}  // namespace korvana
