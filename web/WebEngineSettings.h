#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "web/engines/EngineDefinition.h"

namespace korvana {

class SettingsStore;

// Settings keys of the engines' base URLs ("http://" and the host, with an
// optional port; no path).
inline constexpr const char* kEngine1UrlKey = "Engine1Url";
inline constexpr const char* kEngine2UrlKey = "Engine2Url";
inline constexpr const char* kEngine3UrlKey = "Engine3Url";
// The Internet Archive's base URL ("https://archive.org" for the real
// site), and "0" under the second key to leave the archive out of searches.
inline constexpr const char* kArchiveUrlKey = "ArchiveUrl";
inline constexpr const char* kArchiveEnabledKey = "ArchiveEnabled";
// "0" under these leaves the engine out of searches.
inline constexpr const char* kEngine1EnabledKey = "Engine1Enabled";
inline constexpr const char* kEngine2EnabledKey = "Engine2Enabled";
inline constexpr const char* kEngine3EnabledKey = "Engine3Enabled";

// The simulated web on loopback, which serves all three engines (their paths
// do not overlap) and the vendor's pages on one port. Used when a key is
// absent or empty.
inline constexpr const char* kSimulatedWebUrl = "http://127.0.0.1:4100";

// An empty URL leaves its engine out of searches.
struct EngineUrls {
    std::string engine1 = kSimulatedWebUrl;
    std::string engine2 = kSimulatedWebUrl;
    std::string engine3 = kSimulatedWebUrl;
    // Empty: the archive is not searched.
    std::string archive{};
};

// A base address with its trailing "/" dropped, so that paths can be
// appended to it.
std::string BaseUrl(std::string_view url);

// Reads the base URLs; trailing "/" are dropped so that the engines' paths
// can be appended. An engine switched off gets an empty URL.
EngineUrls ReadEngineUrls(const SettingsStore& settings);

// The caption of the message about an address that cannot be used.
inline constexpr const char* kWebEnginesCaption = "Web engines";

// One engine as the Preferences show it: on or off, and its base URL as
// stored (empty: the simulated web). An engine from a definition file has
// its address in the file and no URL key.
struct WebEngineChoice {
    std::string name;
    std::string urlKey;
    std::string enabledKey;
    std::string url;
    bool enabled = true;
};

// The four built-in engines, in the order searches start them, then the
// engines of `defined`.
std::vector<WebEngineChoice> ReadWebEngineChoices(
    const SettingsStore& settings, const std::vector<EngineDefinition>& defined = {});
// The defined engines the user has not switched off.
std::vector<EngineDefinition> EnabledDefinitions(std::vector<EngineDefinition> defined,
                                                 const SettingsStore& settings);
void WriteWebEngineChoices(SettingsStore& settings, const std::vector<WebEngineChoice>& choices);

// The base URLs of every engine that searches: the servers whose pages name
// the links a search finds, and so the only local servers those links may
// lead to (see FetchOrigin).
std::vector<std::string> EngineOrigins(const EngineUrls& urls,
                                       const std::vector<EngineDefinition>& defined);

// Why a typed base URL cannot be used, or "" when it can (an empty one
// stands for the simulated web): it must be http:// or https:// with a host
// and nothing after the host and port but "/".
std::string WebEngineUrlProblem(std::string_view url);

}  // namespace korvana
