#include "tools/sim/CoreOptions.h"

#include <algorithm>

#include "util/AsciiCase.h"

namespace korvana::sim {

const std::array<NetworkDefinition, 8>& Networks() {
    static const std::array<NetworkDefinition, 8> networks = {{
        {1, "Gnutella", "enable_gnutella", "GNUT-client_port", nullptr, "6346", true, 3},
        {2, "Gnutella2", "enable_gnutella2", "G2-client_port", nullptr, "6347", true, 2},
        {3, "Donkey", "enable_donkey", "port", "ED2K-port", "4662", true, 4},
        {4, "Fasttrack", "enable_fasttrack", "FT-client_port", "FT-client_port", "1214", false, 2},
        {5, "Overnet", "enable_overnet", "overnet_port", nullptr, "9191", true, 1},
        {6, "DirectConnect", "enable_directconnect", "DC-client_port", "DC-client_port", "4444",
         false, 1},
        {7, "Soulseek", "enable_soulseek", "SLSK-client_port", nullptr, "2234", false, 1},
        {8, "OpenNap", "enable_opennap", "OpenNap-client_port", nullptr, "6699", false, 2},
    }};
    return networks;
}

CoreOptions::CoreOptions(WireForm form) : form_(form) {
    // The limits a fresh MLDonkey core starts with.
    options_ = {
        {"max_hard_upload_rate", "7"},
        {"max_hard_download_rate", "50"},
        {"max_upload_slots", "5"},
        {"max_concurrent_downloads", "60"},
    };
    for (const NetworkDefinition& network : Networks()) {
        options_.emplace_back(network.enableOption, network.enabledByDefault ? "true" : "false");
    }
    for (const NetworkDefinition& network : Networks()) {
        const char* port =
            form_ == WireForm::kRealCore ? network.realPortOption : network.portOption;
        if (port != nullptr) {
            options_.emplace_back(port, network.defaultPort);
        }
    }
    if (form_ == WireForm::kDocumented) {
        options_.emplace_back("incoming_directory", "incoming/files");
    }
}

std::optional<std::string> CoreOptions::Value(std::string_view name) const {
    const auto found = std::find_if(options_.begin(), options_.end(),
                                    [&](const OptionPair& pair) { return pair.first == name; });
    if (found == options_.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool CoreOptions::Set(std::string_view name, std::string_view value) {
    if (name.empty() || name.size() > kMaxName || value.size() > kMaxValue) {
        return false;
    }
    const auto found = std::find_if(options_.begin(), options_.end(),
                                    [&](const OptionPair& pair) { return pair.first == name; });
    if (found != options_.end()) {
        found->second = value;
        return true;
    }
    // A real 3.x core answers an option it does not have with an error
    // (incoming_directory among them: it commits downloads to a shared
    // folder with the incoming strategy instead).
    if (form_ == WireForm::kRealCore) {
        return false;
    }
    if (options_.size() >= kMaxOptions) {
        return false;
    }
    options_.emplace_back(name, value);
    return true;
}

bool CoreOptions::NetworkEnabled(const NetworkDefinition& network) const {
    return EqualsIgnoringCase(Value(network.enableOption).value_or(""), "true");
}

}  // namespace korvana::sim
