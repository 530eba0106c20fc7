#include "app/CoreConfig.h"

#include <algorithm>
#include <charconv>

#include "platform/SettingsStore.h"

namespace korvana {

namespace {

constexpr const char* kHostKey = "CoreHost";
constexpr const char* kPortKey = "CorePort";
constexpr const char* kUserKey = "CoreUser";
constexpr const char* kPasswordKey = "CorePassword";
constexpr const char* kRemoteKey = "CoreRemote";

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// Four dot-separated decimal numbers of at most 255, the first 127.
bool IsLoopbackIpv4(std::string_view host) {
    int parts = 0;
    unsigned first = 0;
    std::size_t at = 0;
    while (at <= host.size()) {
        const std::size_t dot = std::min(host.find('.', at), host.size());
        const std::string_view part = host.substr(at, dot - at);
        unsigned value = 0;
        const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || part.size() > 3 || ec != std::errc() ||
            ptr != part.data() + part.size() || value > 255) {
            return false;
        }
        first = parts == 0 ? value : first;
        ++parts;
        at = dot + 1;
    }
    return parts == 4 && first == 127;
}

}  // namespace

std::optional<std::uint16_t> ParseCorePort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value == 0 || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

bool IsLocalHost(std::string_view host) {
    std::string name = Lower(host);
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    if (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    return name == "localhost" || name == "::1" || name == "0:0:0:0:0:0:0:1" ||
           IsLoopbackIpv4(name);
}

bool IsRemoteCore(const CoreSettings& core) {
    return core.remoteChosen || !IsLocalHost(core.host);
}

CoreSettings ReadCoreSettings(const SettingsStore& settings) {
    CoreSettings core;
    if (const auto host = settings.Read(kHostKey); host && !host->empty()) {
        core.host = *host;
    }
    if (const auto port = settings.Read(kPortKey)) {
        core.port = ParseCorePort(*port).value_or(core.port);
    }
    if (const auto user = settings.Read(kUserKey); user && !user->empty()) {
        core.credentials.user = *user;
    }
    core.credentials.password = settings.Read(kPasswordKey).value_or("");
    core.remoteChosen = settings.Read(kRemoteKey) == "true";
    return core;
}

CoreSettingsSaved WriteCoreSettings(SettingsStore& settings, const CoreSettings& core) {
    settings.Write(kHostKey, core.host);
    settings.Write(kPortKey, std::to_string(core.port));
    settings.Write(kUserKey, core.credentials.user);
    settings.Write(kRemoteKey, core.remoteChosen ? "true" : "false");
    if (core.credentials.password.empty()) {
        settings.Remove(kPasswordKey);
        return CoreSettingsSaved::Saved;
    }
    if (!settings.RestrictToOwner()) {
        settings.Remove(kPasswordKey);
        return CoreSettingsSaved::PasswordNotKept;
    }
    settings.Write(kPasswordKey, core.credentials.password);
    return CoreSettingsSaved::Saved;
}

void CoreCredentialsBox::Set(CoreCredentials credentials) {
    const std::lock_guard lock(mutex_);
    credentials_ = std::move(credentials);
}

CoreCredentials CoreCredentialsBox::Get() const {
    const std::lock_guard lock(mutex_);
    return credentials_;
}

bool KeepStoredPasswordPrivate(SettingsStore& settings) {
    const std::optional<std::string> password = settings.Read(kPasswordKey);
    return !password || password->empty() || settings.RestrictToOwner();
}

CoreLinkConfig ReadCoreLinkConfig(const SettingsStore& settings,
                                  std::function<std::string()> downloadsFolder,
                                  const CoreCredentialsBox* box) {
    const CoreSettings core = ReadCoreSettings(settings);
    CoreLinkConfig config;
    config.downloadsFolder = std::move(downloadsFolder);
    config.host = core.host;
    config.port = core.port;
    config.remoteCore = IsRemoteCore(core);
    if (box != nullptr) {
        config.credentials = [box] { return box->Get(); };
    } else {
        config.credentials = [&settings] { return ReadCoreSettings(settings).credentials; };
    }
    return config;
}

StatusInputs CoreStatusInputs(const CoreLink& link) {
    const ClientStatistics stats = link.ClientStats();
    StatusInputs inputs;
    inputs.coreConnected = link.IsLoggedIn();
    inputs.coreLoginRefused = link.LoginRefused();
    inputs.connectedServers = link.ConnectedServers();
    inputs.uploadRateA = stats.uploadRateA;
    inputs.downloadRateA = stats.downloadRateA;
    inputs.uploadRateB = stats.uploadRateB;
    inputs.downloadRateB = stats.downloadRateB;
    inputs.sharedFiles = stats.sharedFileCount;
    inputs.downloadingFiles = stats.downloadingFileCount;
    return inputs;
}

}  // namespace korvana
