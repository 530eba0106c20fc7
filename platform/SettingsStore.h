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
    // Makes the stored values readable by their owner alone, before a
    // secret is written; false when that failed. A store that keeps
    // nothing on disk has nothing to restrict.
    virtual bool RestrictToOwner() { return true; }
};

}  // namespace korvana
