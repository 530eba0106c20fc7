#include "web/WebEngineSettings.h"

#include "platform/SettingsStore.h"

namespace korvana {
namespace {

std::string ReadBaseUrl(const SettingsStore& settings, const char* key) {
    std::string url = settings.Read(key).value_or("");
    while (!url.empty() && url.back() == '/') {
        url.pop_back();
    }
    return url.empty() ? std::string(kSimulatedWebUrl) : url;
}

}  // namespace

EngineUrls ReadEngineUrls(const SettingsStore& settings) {
    EngineUrls urls;
    urls.engine1 = ReadBaseUrl(settings, kEngine1UrlKey);
    urls.engine2 = ReadBaseUrl(settings, kEngine2UrlKey);
    urls.engine3 = ReadBaseUrl(settings, kEngine3UrlKey);
    if (settings.Read(kArchiveEnabledKey).value_or("1") != "0") {
        urls.archive = ReadBaseUrl(settings, kArchiveUrlKey);
    }
    return urls;
}

}  // namespace korvana
