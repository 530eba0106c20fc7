#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace korvana::test {

// korvana-sim started on a free loopback port, with its core folder, trace
// and log in `folder`; killed when the object goes. Header-only, so that the
// benchmarks can start one too.
class SimCore {
  public:
    SimCore(const std::string& program, const std::filesystem::path& folder,
            std::vector<std::string> options = {})
        : folder_(folder) {
        const std::filesystem::path ready = folder / "ready";
        std::vector<std::string> args = {program, "--port",        "0",       "--ready-file", ready,
                                         "--dir", folder / "core", "--trace", TracePath()};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string log = folder / "sim.log";
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && port_ == 0 && std::chrono::steady_clock::now() < deadline) {
            std::ifstream in(ready);
            if (!(in >> port_)) {
                port_ = 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        }
    }
    ~SimCore() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    SimCore(const SimCore&) = delete;
    SimCore& operator=(const SimCore&) = delete;

    // 0 when the program did not start listening.
    int Port() const { return port_; }
    // One line per frame the front end sent: the opcode, then the payload in hex.
    std::filesystem::path TracePath() const { return folder_ / "trace.txt"; }
    std::vector<std::string> TraceLines() const {
        std::vector<std::string> lines;
        std::ifstream in(TracePath());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

  private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    int port_ = 0;
};

}  // namespace korvana::test
