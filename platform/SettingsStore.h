#pragma once

#include <optional>
#include <string>

namespace korvana {

// The per-user key-value store of the program's own values (the downloads
// folder, the update-check day, the engines' addresses). Values are strings;
// a value that is not there reads as absent.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> Read(const std::string& key) const = 0;
    virtual void Write(const std::string& key, const std::string& value) = 0;
    virtual void Remove(const std::string& key) = 0;
};

}  // namespace korvana
