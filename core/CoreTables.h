#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/InboundMessages.h"

namespace korvana {

// One P2P network the core reported, as first reported.
struct NetworkEntry {
    std::int32_t number = 0;
    std::string name;
    bool enabled = false;
    std::string configFile;
    std::int64_t uploaded = 0;
    std::int64_t downloaded = 0;
    std::int32_t connectedServers = 0;
};

// What the core told the front end about itself: its options, its networks
// and its running totals. Kept for the life of the process, across
// reconnections. The receive thread writes; any thread may read.
class CoreTables {
  public:
    static constexpr std::size_t kMaxOptionText = 127;

    // Adds the option, or replaces the value of the option of exactly this name.
    void SetOption(std::string_view name, std::string_view value);
    // The value of the option whose name matches ignoring letter case (the
    // most recently added one when several do), or an empty text.
    std::string OptionValue(std::string_view name) const;

    // Adds the network unless its number is known; the first report stays.
    void AddNetwork(const NetworkMessage& network);
    std::optional<NetworkEntry> Network(std::int32_t number) const;
    std::size_t NetworkCount() const;
    // Connected servers summed over the known networks.
    std::int32_t ConnectedServers() const;

    // Stores the totals and the server counts of the networks it names;
    // networks not in the table are skipped. True when anything changed.
    bool SetClientStats(const ClientStatsMessage& message);
    ClientStatistics ClientStats() const;

    // The core's shared folders from its latest answer to `shares`; nullopt
    // until it has answered.
    void SetSharedFolders(std::vector<CoreSharedFolder> folders);
    std::optional<std::vector<CoreSharedFolder>> SharedFolders() const;

  private:
    struct Option {
        std::string name;
        std::string value;
    };

    mutable std::mutex mutex_;
    std::vector<Option> options_;  // oldest first
    std::unordered_map<std::string, std::size_t> optionIndex_;
    std::map<std::int32_t, NetworkEntry> networks_;
    ClientStatistics stats_;
    std::optional<std::vector<CoreSharedFolder>> sharedFolders_;
};

}  // namespace korvana
