#pragma once

#include <string>

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

// The simulated web on loopback, which serves all three engines (their paths
// do not overlap) and the vendor's pages on one port. Used when a key is
// absent or empty.
inline constexpr const char* kSimulatedWebUrl = "http://127.0.0.1:4100";

struct EngineUrls {
    std::string engine1 = kSimulatedWebUrl;
    std::string engine2 = kSimulatedWebUrl;
    std::string engine3 = kSimulatedWebUrl;
    // Empty: the archive is not searched.
    std::string archive{};
};

// Reads the base URLs; trailing "/" are dropped so that the engines' paths
// can be appended. The archive is searched unless it is switched off.
EngineUrls ReadEngineUrls(const SettingsStore& settings);

}  // namespace korvana
