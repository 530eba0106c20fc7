#pragma once

#include <string>

namespace korvana {

// What the status row summarises: the core's client statistics and
// connected servers, and the web downloads' totals.
struct StatusInputs {
    // False while the link to the core is down: the core's last figures
    // are stale then, and its rates are shown as 0.
    bool coreConnected = true;
    // The core refused our user name or password at the latest log-in.
    bool coreLoginRefused = false;
    int connectedServers = 0;
    int uploadRateA = 0;
    int downloadRateA = 0;
    int uploadRateB = 0;
    int downloadRateB = 0;
    int sharedFiles = 0;
    int downloadingFiles = 0;
    int activeWebDownloads = 0;
    double webDownloadRate = 0.0;  // bytes per second
};

struct StatusTexts {
    std::string servers;
    std::string bandwidth;
    std::string shared;
    std::string downloads;  // also the Transfers page's downloads label
};

StatusTexts ComputeStatusTexts(const StatusInputs& inputs);

// The servers pane while the link to the core is down.
inline constexpr char kCoreNotConnectedText[] = "Core not connected";

// printf's "%5.1f", but always with a decimal point whatever the locale.
std::string FormatRate(double value);

}  // namespace korvana
