#pragma once

#include <functional>
#include <string>

#include "app/StatusTexts.h"
#include "core/CoreLink.h"
#include "prefs/CoreOptionsPort.h"

namespace korvana {

class SettingsStore;

// Where the core listens, from the settings `CoreHost` and `CorePort`
// (default localhost:4001); an unusable port falls back to the default.
// `downloadsFolder` gives the current downloads folder at each log-in.
CoreLinkConfig ReadCoreLinkConfig(const SettingsStore& settings,
                                  std::function<std::string()> downloadsFolder);

// The core's part of the status row: its client statistics and the servers
// of the networks it has reported.
StatusInputs CoreStatusInputs(const CoreLink& link);

// The preferences' view of the core link.
class CoreLinkOptions final : public CoreOptionsPort {
  public:
    explicit CoreLinkOptions(CoreLink& link) : link_(link) {}
    std::string OptionValue(const std::string& name) const override {
        return link_.OptionValue(name);
    }
    void SendSetOption(const std::string& name, const std::string& value) override {
        link_.SendSetOption(name, value);
    }
    void SendConsoleCommand(const std::string& line) override { link_.SendConsoleCommand(line); }
    std::optional<std::vector<CoreSharedFolder>> SharedFolders() const override {
        return link_.SharedFolders();
    }

  private:
    CoreLink& link_;
};

}  // namespace korvana
