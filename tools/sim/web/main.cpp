// korvana-simweb: the simulated web engines and vendor server on loopback,
// for the offline demo and for tests that want a separate process.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tools/sim/web/SimWebServer.h"

namespace {

constexpr const char* kUsage =
    "usage: korvana-simweb [--port N] [--ready-file PATH] [--trickle MS] [--stall BYTES]\n"
    "                      [--lying-length] [--redirect-loop] [--garbage] [--reset]\n"
    "                      [--delay MS] [--engine1-incomplete N]\n"
    "  --port N                listen on 127.0.0.1:N (default 4100; 0 picks a free port)\n"
    "  --ready-file PATH       once listening, write the port to PATH\n"
    "  --trickle MS            send every answer one byte at a time, MS apart\n"
    "  --stall BYTES           send only BYTES of every answer, then stay silent\n"
    "  --lying-length          files announce 1000 bytes more than they send\n"
    "  --redirect-loop         files redirect to themselves\n"
    "  --garbage               answer with bytes that are not HTTP\n"
    "  --reset                 reset every connection once its request is read\n"
    "  --delay MS              wait MS before every answer\n"
    "  --engine1-incomplete N  serve each first-engine page cut short N times first\n";

struct Options {
    unsigned long port = 4100;
    std::string readyFile;
    korvana::sim::SimWebFaults faults;
};

std::optional<unsigned long> Number(const char* text, unsigned long max) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value > max) {
        return std::nullopt;
    }
    return value;
}

// Reads the value after option `i`; false when it is missing or not a number.
bool TakeNumber(int argc, char** argv, int& i, unsigned long max, unsigned long& out) {
    if (i + 1 >= argc) {
        return false;
    }
    const auto value = Number(argv[++i], max);
    if (value) {
        out = *value;
    }
    return value.has_value();
}

bool TakeFlag(const std::string& arg, korvana::sim::SimWebFaults& faults) {
    if (arg == "--lying-length") {
        faults.lyingLength = true;
    } else if (arg == "--redirect-loop") {
        faults.redirectLoop = true;
    } else if (arg == "--garbage") {
        faults.garbage = true;
    } else if (arg == "--reset") {
        faults.reset = true;
    } else {
        return false;
    }
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long value = 0;
        if (TakeFlag(arg, options.faults)) {
            continue;
        }
        if (arg == "--ready-file" && i + 1 < argc) {
            options.readyFile = argv[++i];
        } else if (arg == "--port" && TakeNumber(argc, argv, i, 65535, value)) {
            options.port = value;
        } else if (arg == "--trickle" && TakeNumber(argc, argv, i, 600000, value)) {
            options.faults.trickleInterval = std::chrono::milliseconds(value);
        } else if (arg == "--stall" && TakeNumber(argc, argv, i, 1UL << 40, value)) {
            options.faults.stallAfterBytes = value;
        } else if (arg == "--delay" && TakeNumber(argc, argv, i, 600000, value)) {
            options.faults.answerDelay = std::chrono::milliseconds(value);
        } else if (arg == "--engine1-incomplete" && TakeNumber(argc, argv, i, 1000000, value)) {
            options.faults.engine1IncompleteTimes = static_cast<int>(value);
        } else {
            return false;
        }
    }
    return true;
}

// Written beside and renamed into place, so a reader never sees half a number.
bool WriteReadyFile(const std::string& path, std::uint16_t port) {
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << port << '\n';
        if (!out) {
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(partial, path, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Block the stop signals before any thread starts, so that only
    // sigwait() below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    korvana::sim::SimWebServer server;
    server.SetFaults(options.faults);
    if (!server.Start(static_cast<std::uint16_t>(options.port))) {
        std::fprintf(stderr, "korvana-simweb: cannot listen on 127.0.0.1:%lu\n", options.port);
        return 1;
    }
    if (!options.readyFile.empty() && !WriteReadyFile(options.readyFile, server.Port())) {
        std::fprintf(stderr, "korvana-simweb: cannot write %s\n", options.readyFile.c_str());
        return 1;
    }
    std::printf("korvana-simweb listening on %s\n", server.BaseUrl().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    return 0;
}
