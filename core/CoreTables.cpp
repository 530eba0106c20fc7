#include "core/CoreTables.h"

#include <algorithm>

#include "core/TextLimit.h"

namespace korvana {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&lower](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

void CoreTables::SetOption(std::string_view name, std::string_view value) {
    std::string key = TruncateText(std::string(name), kMaxOptionText);
    std::string text = TruncateText(std::string(value), kMaxOptionText);
    std::lock_guard lock(mutex_);
    const auto found = optionIndex_.find(key);
    if (found != optionIndex_.end()) {
        options_[found->second].value = std::move(text);
        return;
    }
    optionIndex_.emplace(key, options_.size());
    options_.push_back({std::move(key), std::move(text)});
}

std::string CoreTables::OptionValue(std::string_view name) const {
    std::lock_guard lock(mutex_);
    const auto found = std::find_if(options_.rbegin(), options_.rend(), [name](const Option& o) {
        return EqualIgnoringCase(o.name, name);
    });
    return found == options_.rend() ? std::string() : found->value;
}

void CoreTables::AddNetwork(const NetworkMessage& network) {
    std::lock_guard lock(mutex_);
    networks_.try_emplace(
        network.number, NetworkEntry{network.number, network.name, network.enabled,
                                     network.configFile, network.uploaded, network.downloaded, 0});
}

std::optional<NetworkEntry> CoreTables::Network(std::int32_t number) const {
    std::lock_guard lock(mutex_);
    const auto found = networks_.find(number);
    if (found == networks_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::size_t CoreTables::NetworkCount() const {
    std::lock_guard lock(mutex_);
    return networks_.size();
}

std::int32_t CoreTables::ConnectedServers() const {
    std::lock_guard lock(mutex_);
    std::int64_t sum = 0;
    for (const auto& [number, entry] : networks_) {
        sum += entry.connectedServers;
    }
    return static_cast<std::int32_t>(sum);
}

bool CoreTables::SetClientStats(const ClientStatsMessage& message) {
    std::lock_guard lock(mutex_);
    bool changed = !(stats_ == message.stats);
    stats_ = message.stats;
    for (const ServerCount& count : message.servers) {
        const auto found = networks_.find(count.networkNumber);
        if (found != networks_.end() && found->second.connectedServers != count.connectedServers) {
            found->second.connectedServers = count.connectedServers;
            changed = true;
        }
    }
    return changed;
}

ClientStatistics CoreTables::ClientStats() const {
    std::lock_guard lock(mutex_);
    return stats_;
}

void CoreTables::SetSharedFolders(std::vector<CoreSharedFolder> folders) {
    const std::lock_guard lock(mutex_);
    sharedFolders_ = std::move(folders);
}

std::optional<std::vector<CoreSharedFolder>> CoreTables::SharedFolders() const {
    const std::lock_guard lock(mutex_);
    return sharedFolders_;
}

}  // namespace korvana
