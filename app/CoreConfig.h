#pragma once

#include <string>

#include "core/CoreLink.h"

namespace korvana {

class SettingsStore;

// Where the core listens, from the settings `CoreHost` and `CorePort`
// (default localhost:4001); an unusable port falls back to the default.
CoreLinkConfig ReadCoreLinkConfig(const SettingsStore& settings,
                                  const std::string& downloadsFolder);

}  // namespace korvana
