#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/CoreSharedFolder.h"

namespace korvana {

// What the preferences need from the core link: the option values the core
// last reported, and the two commands that change the core's settings. The
// application adapts its core link to this; tests record the calls.
class CoreOptionsPort {
  public:
    virtual ~CoreOptionsPort() = default;
    // The value the core last reported for `name`, matched ignoring case;
    // empty when the core has not reported it.
    virtual std::string OptionValue(const std::string& name) const = 0;
    virtual void SendSetOption(const std::string& name, const std::string& value) = 0;
    virtual void SendConsoleCommand(const std::string& line) = 0;
    // The core's shared folders as it last listed them; nullopt when it has
    // not listed them.
    virtual std::optional<std::vector<CoreSharedFolder>> SharedFolders() const {
        return std::nullopt;
    }
};

}  // namespace korvana
