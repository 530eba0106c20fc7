#pragma once

#include <map>

#include "platform/SettingsStore.h"

namespace korvana::test {

// The settings store in memory.
class MemorySettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(const std::string& key) const override {
        const auto found = values.find(key);
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void Write(const std::string& key, const std::string& value) override { values[key] = value; }
    void Remove(const std::string& key) override { values.erase(key); }

    std::map<std::string, std::string> values;
};

}  // namespace korvana::test
