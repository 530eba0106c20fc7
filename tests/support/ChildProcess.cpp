#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace korvana::test {

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnvironment,
                           const std::filesystem::path& outputFile) {
    // The extra variables replace inherited ones of the same name.
    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string_view inherited(*variable);
        const std::string_view name = inherited.substr(0, inherited.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : extraEnvironment) {
            replaced = replaced || std::string_view(extra).substr(0, name.size()) == name;
        }
        if (!replaced) {
            environment.emplace_back(inherited);
        }
    }
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp;
    for (auto& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char*> argp;
    for (auto& arg : args) {
        argp.push_back(arg.data());
    }
    argp.push_back(nullptr);
    const std::string output = outputFile.string();

    pid_ = fork();
    if (pid_ < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid_ == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
        }
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (IsRunning()) {
        Signal(SIGKILL);
        WaitForExit(std::chrono::seconds(5));
    }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int raw = 0;
        const pid_t done = waitpid(pid_, &raw, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            break;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

bool ChildProcess::IsRunning() {
    return pid_ > 0 && !WaitForExit(std::chrono::milliseconds(0));
}

void ChildProcess::Signal(int signal) {
    if (pid_ > 0 && !status_) {
        kill(pid_, signal);
    }
}

}  // namespace korvana::test
