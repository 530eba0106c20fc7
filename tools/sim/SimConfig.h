#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvana::sim {

// The layouts the simulated core speaks. kDocumented: a hello without a
// version, results with a 16-byte hash and shared files with a 32-bit size,
// the layouts the front end was written against. kRealCore: what an
// MLDonkey 3.x core sends (hello with protocol 41, results with uid strings,
// shared files with a 64-bit size, no `incoming_directory` option).
enum class WireForm { kDocumented, kRealCore };

// Misbehaviours that tests switch on to see the front end survive them.
struct FaultSwitches {
    bool noHello = false;
    int helloDelayMs = 0;
    std::int64_t closeAfterFrames = 0;  // 0: never
    bool oversizedFrame = false;
    bool garbage = false;
    bool truncatedStrings = false;
    bool unknownOpcodes = false;
    bool duplicateResults = false;
    bool unknownSearchResults = false;
    std::int64_t flood = 0;  // 0: answer searches from the catalogue
    bool dropMidFrame = false;
    // Neither the shutdown message nor SIGTERM stops it; only SIGKILL does.
    bool ignoreShutdown = false;
};

struct SimConfig {
    std::string host = "127.0.0.1";
    int port = 4001;
    bool portGiven = false;  // else the core folder's downloads.ini may name it
    int webPort = -1;        // the simulated web engines' port; -1: none
    std::string readyFile;
    std::string traceFile;
    std::string folder;  // empty: the current folder (see main)
    std::string catalogueFile;
    std::int64_t catalogueSize = 2000;
    std::int64_t downloadRate = 200000;  // bytes per second for each running download
    bool stats = true;
    WireForm form = WireForm::kDocumented;
    FaultSwitches faults;
    // Any option of the simulated core's own was given (not only the bind
    // options it shares with a real core).
    bool ownOptionsGiven = false;
};

struct ParsedCommandLine {
    std::optional<SimConfig> config;  // absent on an error or for --help
    std::string error;
    bool help = false;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// True for 127.0.0.0/8, ::1 and "localhost": the simulated core never
// listens where another machine could reach it.
bool IsLoopbackHost(const std::string& host);

}  // namespace korvana::sim
