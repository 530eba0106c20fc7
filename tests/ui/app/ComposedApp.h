#pragma once

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/FinderApp.h"
#include "platform/Clock.h"
#include "platform/CoreProcess.h"
#include "services/UpdateSchedule.h"
#include "services/VendorUrl.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/RecordingOpener.h"
#include "tests/support/RecordingPrompter.h"

namespace korvana::test {

// The whole program composed as for the desktop, on stand-ins: settings in
// memory that point it at a core on `corePort` and at nothing else (the
// update check was done today, the vendor is a closed loopback port), a
// recording prompter and opener, and the core process the test gives.
class ComposedApp {
  public:
    ComposedApp(const std::filesystem::path& install, const Clock& clock,
                std::unique_ptr<CoreProcess> core, std::uint16_t corePort = 1) {
        settings.values["CoreHost"] = "127.0.0.1";
        settings.values["CorePort"] = std::to_string(corePort);
        settings.values[kDayLastCheckedKey] = std::to_string(std::time(nullptr));
        settings.values[kVendorUrlKey] = "http://127.0.0.1:1";
        app = std::make_unique<FinderApp>(
            FinderPlatform{install, settings, clock, prompter, opener,
                           [&core](const Folders&) { return std::move(core); }});
    }

    // Lines the program's status log has taken that equal `line`.
    int LogLinesEqualTo(const std::string& line) const {
        std::vector<std::string> lines;
        app->Log().CopySince(0, lines);
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }

    MemorySettings settings;
    RecordingPrompter prompter;
    RecordingOpener opener;
    std::unique_ptr<FinderApp> app;
};

}  // namespace korvana::test
