#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/SharedFolders.h"
#include "tools/sim/SimConfig.h"

namespace korvana::sim {

struct ConsoleOutcome {
    std::string output;  // the command's own output, without the core's frame
    bool sharesChanged = false;
    bool save = false;
};

// Splits a console line into words; double quotes group words and are
// removed, a backslash inside quotes takes the next character literally.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Runs one console command: share, unshare, reshare and save; anything else
// is unknown. The real core (`form` kRealCore) insists on its argument
// counts, so an unquoted path with blanks fails there; the documented core
// takes everything after the command word as the path when the words do
// not fit, because the front end sends paths unquoted.
ConsoleOutcome RunConsoleCommand(std::string_view line, SharedFolders& folders, WireForm form);

}  // namespace korvana::sim
