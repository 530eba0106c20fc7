#include "app/StatusTexts.h"

#include <charconv>

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
    texts.servers = in.connectedServers != 0
                        ? "Connected to " + std::to_string(in.connectedServers) + " servers"
                        : "Connecting to servers";
    const double down =
        (static_cast<double>(in.downloadRateA) + in.downloadRateB + in.webDownloadRate) / 1024.0;
    const double up = (static_cast<double>(in.uploadRateA) + in.uploadRateB) / 1024.0;
    texts.bandwidth = FormatRate(down) + " KB/s down :" + FormatRate(up) + " KB/s up";
    texts.shared = "Sharing " + std::to_string(in.sharedFiles) + " files";
    const int downloads = in.downloadingFiles + in.activeWebDownloads;
    texts.downloads =
        "Downloading " + std::to_string(downloads) + (downloads == 1 ? " file" : " files");
    return texts;
}

}  // namespace korvana
