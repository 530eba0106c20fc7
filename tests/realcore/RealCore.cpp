#include "tests/realcore/RealCore.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "tests/realcore/LoopbackServers.h"

namespace korvana::realcore {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kConsolePort = 4000;
constexpr std::string_view kPrompt = "MLdonkey command-line:";
constexpr std::size_t kMaxConsoleAnswer = 4 * 1024 * 1024;

// The interface names this process can see; in a fresh namespace only "lo".
std::set<std::string> InterfaceNames() {
    std::set<std::string> names;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        return {"(unknown)"};
    }
    for (ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        names.insert(entry->ifa_name);
    }
    ::freeifaddrs(list);
    // getifaddrs lists only interfaces with an address; the kernel's index
    // lists every one.
    if (struct if_nameindex* all = ::if_nameindex()) {
        for (struct if_nameindex* entry = all; entry->if_index != 0; ++entry) {
            names.insert(entry->if_name);
        }
        ::if_freenameindex(all);
    }
    return names;
}

int ConnectConsole() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kConsolePort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads until the prompt that follows `from` has arrived in full.
bool ReadToPrompt(int fd, std::string& text, std::size_t from) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    for (;;) {
        const std::size_t prompt = text.find(kPrompt, from);
        if (prompt != std::string::npos && text.find("> ", prompt) != std::string::npos) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline || text.size() > kMaxConsoleAnswer) {
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) {
            continue;
        }
        char buffer[8192];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// Options the core reads before it starts, for a core that has none yet.
// Left to its defaults, the core fetches a list of files from the web at
// start (server lists, block lists, GeoIP) and asks a web page for its own
// address: each of these looks up a name on its single name look-up
// thread, in a queue that a link's own look-up must wait behind, and the
// failures are handled in its main loop. None of that can succeed here,
// and it made the first download wait or stall.
void SeedOptions(const std::filesystem::path& folder) {
    const std::filesystem::path options = folder / "downloads.ini";
    if (std::filesystem::exists(options)) {
        return;
    }
    std::ofstream out(options);
    out << "web_infos = []\n"
        << "discover_ip = false\n";
}

}  // namespace

std::string WhyNoRealCore() {
    const char* mlnet = std::getenv("KORVANA_REAL_MLNET");
    if (mlnet == nullptr || *mlnet == '\0') {
        return "KORVANA_REAL_MLNET does not name a built mlnet (see tools/realcore-tests.sh)";
    }
    if (::access(mlnet, X_OK) != 0) {
        return std::string("no executable mlnet at ") + mlnet;
    }
    if (InterfaceNames() != std::set<std::string>{"lo"}) {
        return "not inside a loopback-only network namespace (see tools/realcore-tests.sh)";
    }
    return {};
}

std::string PlainConsoleText(const std::string& raw) {
    std::string plain;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == 0xff && i + 2 < raw.size()) {
            i += 2;  // a telnet option: IAC, verb, option
        } else if (c == 0x1b && i + 1 < raw.size() && raw[i + 1] == '[') {
            i += 2;
            while (i < raw.size() && !std::isalpha(static_cast<unsigned char>(raw[i]))) {
                ++i;
            }
        } else {
            plain.push_back(raw[i]);
        }
    }
    return plain;
}

RealCore::RealCore(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::filesystem::create_directories(folder_);
}

RealCore::~RealCore() = default;

bool RealCore::Start(const std::vector<std::string>& extraArguments) {
    std::vector<std::string> argv = {std::getenv("KORVANA_REAL_MLNET"),
                                     "-gui_bind_addr",
                                     "127.0.0.1",
                                     "-telnet_bind_addr",
                                     "127.0.0.1",
                                     "-http_bind_addr",
                                     "127.0.0.1",
                                     "-allowed_ips",
                                     "127.0.0.1",
                                     "-enable_bittorrent",
                                     "false",
                                     "-enable_overnet",
                                     "false",
                                     "-enable_kademlia",
                                     "false",
                                     "-enable_donkey",
                                     "true",
                                     "-enable_fileTP",
                                     "true"};
    argv.insert(argv.end(), extraArguments.begin(), extraArguments.end());
    SeedOptions(folder_);
    process_ = std::make_unique<test::ChildProcess>(
        argv, std::vector<std::string>{"MLDONKEY_DIR=" + folder_.string()}, folder_ / "core.out");
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline && IsRunning()) {
        if (Console("version")) {
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

void RealCore::SetConsoleLogin(std::string user, std::string password) {
    consoleLogin_ = "auth " + user + " " + password + "\n";
}

std::optional<std::string> RealCore::Console(const std::string& command) const {
    const int fd = ConnectConsole();
    if (fd < 0) {
        return std::nullopt;
    }
    std::string text;
    std::optional<std::string> answer;
    const bool ready = ReadToPrompt(fd, text, 0) &&
                       (consoleLogin_.empty() ||
                        (SendAll(fd, consoleLogin_) && ReadToPrompt(fd, text, text.size())));
    if (ready) {
        const std::size_t sent = text.size();
        if (SendAll(fd, command + "\n") && ReadToPrompt(fd, text, sent)) {
            const std::string plain = PlainConsoleText(text.substr(sent));
            const std::size_t echo = plain.find(command);
            std::string body =
                echo == std::string::npos ? plain : plain.substr(echo + command.size());
            body = body.substr(0, body.rfind(kPrompt));
            answer = body;
        }
    }
    ::close(fd);
    return answer;
}

std::optional<int> RealCore::WaitForExit(std::chrono::milliseconds timeout) {
    return process_ ? process_->WaitForExit(timeout) : std::nullopt;
}

bool RealCore::IsRunning() const {
    return process_ && process_->IsRunning();
}

std::string RealCore::Log() const {
    std::string log;
    for (const char* name : {"core.out", "mlnet.log"}) {
        std::ifstream in(folder_ / name);
        log += std::string(std::istreambuf_iterator<char>(in), {});
    }
    return log;
}

}  // namespace korvana::realcore
