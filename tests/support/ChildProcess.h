#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace korvana::test {

// A program started by a test, with extra environment variables and its
// output sent to a file. Killed on destruction if still running.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv,
                 const std::vector<std::string>& extraEnvironment,
                 const std::filesystem::path& outputFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The exit status once the program has ended within `timeout`; nullopt
    // if it is still running. A program ended by a signal gives 128 + signal.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    bool IsRunning();
    void Signal(int signal);
    pid_t Pid() const { return pid_; }

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

}  // namespace korvana::test
