#include "platform/CoreProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace korvana {

namespace {

std::filesystem::path Canonical(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : canonical;
}

bool IsProcessFolderName(const std::string& name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

// In the grandchild: become a session of its own, move to the core folder,
// send output to the log, and run the core. Only async-signal-safe calls.
[[noreturn]] void RunCore(const char* folder, const char* executable, const char* log,
                          char* const* environment) {
    setsid();
    if (chdir(folder) != 0) {
        _exit(127);
    }
    const int out = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
    }
    if (in >= 0) {
        dup2(in, STDIN_FILENO);
    }
    // Bound to loopback: started without these the core's GUI, console and
    // web ports listen on every interface.
    execle(executable, "mlnet", "-gui_bind_addr", "127.0.0.1", "-telnet_bind_addr", "127.0.0.1",
           "-http_bind_addr", "127.0.0.1", static_cast<char*>(nullptr), environment);
    _exit(127);
}

}  // namespace

PosixCoreProcess::PosixCoreProcess(std::filesystem::path coreFolder)
    : coreFolder_(std::move(coreFolder)), executable_(Canonical(coreFolder_ / "mlnet")) {}

PosixCoreProcess::PosixCoreProcess(std::filesystem::path coreFolder,
                                   const std::filesystem::path& executable)
    : coreFolder_(std::move(coreFolder)), executable_(Canonical(executable)) {}

bool PosixCoreProcess::IsCoreRunning() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        if (!IsProcessFolderName(entry.path().filename().string())) {
            continue;
        }
        std::error_code linkError;
        const std::filesystem::path exe =
            std::filesystem::read_symlink(entry.path() / "exe", linkError);
        if (!linkError && exe == executable_) {
            return true;
        }
    }
    return false;
}

// The id may have been reused since: only a process running our core's
// executable counts.
bool PosixCoreProcess::IsOurCore(int pid) const {
    std::error_code ec;
    const std::filesystem::path exe =
        std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    return !ec && exe == executable_;
}

bool PosixCoreProcess::SignalStartedCore(bool kill) {
    if (startedPid_ <= 0 || !IsOurCore(startedPid_)) {
        return false;
    }
    return ::kill(startedPid_, kill ? SIGKILL : SIGTERM) == 0;
}

void PosixCoreProcess::LaunchCore() {
    const std::string folder = coreFolder_.string();
    const std::string executable = executable_.string();
    const std::string log = (coreFolder_ / "mlnet.log").string();
    // The environment is built before forking: the child may only make
    // async-signal-safe calls.
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        if (std::string_view(*variable).substr(0, 13) != "MLDONKEY_DIR=") {
            variables.emplace_back(*variable);
        }
    }
    variables.push_back("MLDONKEY_DIR=" + folder);
    std::vector<char*> environment;
    for (std::string& variable : variables) {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);
    // Fork twice so the core is not our child: it outlives us, and we never
    // have to reap it. The middle process tells us the core's id.
    int idPipe[2] = {-1, -1};
    if (pipe2(idPipe, O_CLOEXEC) != 0) {
        return;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(idPipe[0]);
        const pid_t core = fork();
        if (core == 0) {
            RunCore(folder.c_str(), executable.c_str(), log.c_str(), environment.data());
        }
        [[maybe_unused]] const ssize_t sent = write(idPipe[1], &core, sizeof core);
        _exit(0);
    }
    close(idPipe[1]);
    pid_t core = 0;
    ssize_t got = 0;
    do {
        got = child > 0 ? read(idPipe[0], &core, sizeof core) : 0;
    } while (got < 0 && errno == EINTR);
    if (got == sizeof core && core > 0) {
        startedPid_ = core;
    }
    close(idPipe[0]);
    if (child > 0) {
        waitpid(child, nullptr, 0);
    }
}

}  // namespace korvana
