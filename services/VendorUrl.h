#pragma once

#include <string>

namespace korvana {

class SettingsStore;

// Settings key of the vendor's web server: "http://" and the host, with an
// optional port, no path. The update check, the install notice, the feedback
// form and the help pages all live under it.
inline constexpr const char* kVendorUrlKey = "VendorUrl";

// The vendor's base URL without trailing "/", so that paths can be appended;
// the simulated web on loopback when the key is absent or empty.
std::string ReadVendorUrl(const SettingsStore& settings);

}  // namespace korvana
