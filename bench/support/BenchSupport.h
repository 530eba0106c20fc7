#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "tools/sim/web/SimWebServer.h"

namespace korvana::bench {

// The process's resident memory now, in bytes.
inline long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

// One simulated web server on loopback for every benchmark of the run.
inline sim::SimWebServer& SharedWebServer() {
    static sim::SimWebServer server;
    static const bool started = server.Start();
    if (!started) {
        std::abort();
    }
    return server;
}

}  // namespace korvana::bench
