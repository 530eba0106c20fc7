#include "app/CoreConfig.h"

#include <charconv>

#include "platform/SettingsStore.h"

namespace korvana {

CoreLinkConfig ReadCoreLinkConfig(const SettingsStore& settings,
                                  std::function<std::string()> downloadsFolder) {
    CoreLinkConfig config;
    config.downloadsFolder = std::move(downloadsFolder);
    if (const auto host = settings.Read("CoreHost"); host && !host->empty()) {
        config.host = *host;
    }
    if (const auto port = settings.Read("CorePort")) {
        unsigned value = 0;
        const char* end = port->data() + port->size();
        const auto [ptr, ec] = std::from_chars(port->data(), end, value);
        if (ec == std::errc() && ptr == end && value > 0 && value < 65536) {
            config.port = static_cast<std::uint16_t>(value);
        }
    }
    return config;
}

StatusInputs CoreStatusInputs(const CoreLink& link) {
    const ClientStatistics stats = link.ClientStats();
    StatusInputs inputs;
    inputs.coreConnected = link.IsLoggedIn();
    inputs.connectedServers = link.ConnectedServers();
    inputs.uploadRateA = stats.uploadRateA;
    inputs.downloadRateA = stats.downloadRateA;
    inputs.uploadRateB = stats.uploadRateB;
    inputs.downloadRateB = stats.downloadRateB;
    inputs.sharedFiles = stats.sharedFileCount;
    inputs.downloadingFiles = stats.downloadingFileCount;
    return inputs;
}

}  // namespace korvana
