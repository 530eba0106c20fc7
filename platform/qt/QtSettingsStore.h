#pragma once

#include <memory>

#include "platform/SettingsStore.h"

class QSettings;

namespace korvana {

// The settings store as an INI file at $XDG_CONFIG_HOME/Korvana/Korvana.ini,
// every value under the group "Software/Korvana".
class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore();
    ~QtSettingsStore() override;

    std::optional<std::string> Read(const std::string& key) const override;
    void Write(const std::string& key, const std::string& value) override;
    void Remove(const std::string& key) override;
    // The file is created if need be and set to mode 0600; every later
    // save replaces it with one of the same mode.
    bool RestrictToOwner() override;

  private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace korvana
