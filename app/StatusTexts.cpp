#include "app/StatusTexts.h"

#include <charconv>

#include "core/CoreLogin.h"

namespace korvana {

std::string FormatRate(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    if (text.size() < 5) {
        text.insert(0, 5 - text.size(), ' ');
    }
    return text;
}

StatusTexts ComputeStatusTexts(const StatusInputs& in) {
    StatusTexts texts;
    if (!in.coreConnected) {
        texts.servers = in.coreLoginRefused ? kCoreRefusedPasswordText : kCoreNotConnectedText;
    } else if (in.connectedServers != 0) {
        texts.servers = "Connected to " + std::to_string(in.connectedServers) + " servers";
    } else {
        texts.servers = "Connecting to servers";
    }
    // Web downloads run without the core, so their rate is real either way.
    const double coreDown =
        in.coreConnected ? static_cast<double>(in.downloadRateA) + in.downloadRateB : 0.0;
    const double coreUp =
        in.coreConnected ? static_cast<double>(in.uploadRateA) + in.uploadRateB : 0.0;
    const double down = (coreDown + in.webDownloadRate) / 1024.0;
    const double up = coreUp / 1024.0;
    texts.bandwidth = FormatRate(down) + " KB/s down :" + FormatRate(up) + " KB/s up";
    texts.shared = "Sharing " + std::to_string(in.sharedFiles) + " files";
    const int downloads = in.downloadingFiles + in.activeWebDownloads;
    texts.downloads =
        "Downloading " + std::to_string(downloads) + (downloads == 1 ? " file" : " files");
    return texts;
}

}  // namespace korvana
