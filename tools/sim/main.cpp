// korvana-sim: a simulated MLDonkey core for tests and the offline demo.
// Started without options from a core folder (as the front end starts its
// `mlnet`), it listens on 127.0.0.1:4001 and keeps its files there.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/sim/Catalogue.h"
#include "tools/sim/CoreState.h"
#include "tools/sim/DownloadsIni.h"
#include "tools/sim/SimConfig.h"
#include "tools/sim/SimServer.h"

namespace {

namespace fs = std::filesystem;
using namespace korvana::sim;

constexpr std::size_t kMaxCatalogueBytes = 64 << 20;

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

void OnStopSignal(int) {
    SimServer::RequestStop();
}

void InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
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
    const SimConfig& config = *parsed.config;
    CoreSetup setup;
    setup.folder = CoreFolder(config);
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
    InstallSignalHandlers();
    SimServer server(config);
    CoreState core(std::move(setup), server, SimClock::now());
    return server.Run(core);
}
