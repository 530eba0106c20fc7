// korvana-sim: a simulated MLDonkey core for tests and the offline demo.
// Started without options from a core folder (as the front end starts its
// `mlnet`), it listens on 127.0.0.1:4001 and keeps its files there.
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/Catalogue.h"
#include "tools/sim/CoreState.h"
#include "tools/sim/DownloadsIni.h"
#include "tools/sim/SimConfig.h"
#include "tools/sim/SimServer.h"
#include "tools/sim/web/SimWebServer.h"

namespace {

namespace fs = std::filesystem;
using namespace korvana::sim;

constexpr std::size_t kMaxCatalogueBytes = 64 << 20;
constexpr int kDemoWebPort = 4100;

// Like a real core: the current folder when it holds downloads.ini, else
// $MLDONKEY_DIR, else the current folder.
fs::path CoreFolder(const SimConfig& config) {
    if (!config.folder.empty()) {
        return config.folder;
    }
    std::error_code error;
    const fs::path current = fs::current_path(error);
    const char* environment = std::getenv("MLDONKEY_DIR");
    if (fs::exists(current / "downloads.ini", error) || environment == nullptr ||
        *environment == '\0') {
        return current;
    }
    return environment;
}

// A real core reads its GUI port from downloads.ini; so does this one, so a
// front end can start it on a port of its choosing.
int GuiPortFromSettings(const fs::path& folder, int fallback) {
    const std::optional<std::string> text = ReadSmallFile(folder / "downloads.ini", 1 << 20);
    if (!text) {
        return fallback;
    }
    for (const OptionPair& option : ParseDownloadsIni(*text).options) {
        int port = 0;
        const auto& [name, value] = option;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), port);
        if (name == "gui_port" && ec == std::errc() && end == value.data() + value.size() &&
            port > 0 && port < 65536) {
            return port;
        }
    }
    return fallback;
}

// The demo's web engines come with the core; a port already taken only
// costs the web results.
std::unique_ptr<SimWebServer> StartWeb(int port) {
    if (port < 0) {
        return nullptr;
    }
    auto web = std::make_unique<SimWebServer>();
    if (!web->Start(static_cast<std::uint16_t>(port))) {
        std::fprintf(stderr, "korvana-sim: the simulated web cannot listen on port %d\n", port);
        return nullptr;
    }
    return web;
}

void OnStopSignal(int) {
    SimServer::RequestStop();
}

void InstallSignalHandlers(bool ignoreTerm) {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    if (ignoreTerm) {
        std::signal(SIGTERM, SIG_IGN);
    } else {
        sigaction(SIGTERM, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (!parsed.config) {
        std::fprintf(stderr, "korvana-sim: %s\n%s", parsed.error.c_str(), UsageText().c_str());
        return 2;
    }
    SimConfig config = *parsed.config;
    if (!config.ownOptionsGiven) {
        config.webPort = kDemoWebPort;
    }
    CoreSetup setup;
    setup.folder = CoreFolder(config);
    if (!config.portGiven) {
        config.port = GuiPortFromSettings(setup.folder, config.port);
    }
    setup.form = config.form;
    setup.downloadRate = config.downloadRate;
    setup.periodicStats = config.stats;
    setup.catalogueSize = static_cast<std::size_t>(config.catalogueSize);
    if (!config.catalogueFile.empty()) {
        const std::optional<std::string> text =
            ReadSmallFile(config.catalogueFile, kMaxCatalogueBytes);
        if (!text) {
            std::fprintf(stderr, "korvana-sim: cannot read %s\n", config.catalogueFile.c_str());
            return 2;
        }
        setup.listed = ParseCatalogueText(*text);
    }
    std::error_code error;
    fs::create_directories(setup.folder, error);
    const char* ignoring = std::getenv("KORVANA_SIM_IGNORE_SHUTDOWN");
    if (ignoring != nullptr && std::string_view(ignoring) == "1") {
        config.faults.ignoreShutdown = true;
    }
    InstallSignalHandlers(config.faults.ignoreShutdown);
    const std::unique_ptr<SimWebServer> web = StartWeb(config.webPort);
    SimServer server(config);
    CoreState core(std::move(setup), server, SimClock::now());
    return server.Run(core);
}
