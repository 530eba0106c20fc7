#include "services/VendorUrl.h"

#include "platform/SettingsStore.h"
#include "web/WebEngineSettings.h"

namespace korvana {

std::string ReadVendorUrl(const SettingsStore& settings) {
    std::string url = settings.Read(kVendorUrlKey).value_or("");
    while (!url.empty() && url.back() == '/') {
        url.pop_back();
    }
    return url.empty() ? std::string(kSimulatedWebUrl) : url;
}

}  // namespace korvana
