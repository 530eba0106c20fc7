#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/StatusTexts.h"
#include "core/CoreLink.h"
#include "core/CoreLogin.h"
#include "prefs/CoreOptionsPort.h"

namespace korvana {

class SettingsStore;

// Where the core listens and how to log in to it, as kept in the settings
// `CoreHost`, `CorePort`, `CoreUser`, `CorePassword` and `CoreRemote`.
struct CoreSettings {
    std::string host = "localhost";
    std::uint16_t port = 4001;
    CoreCredentials credentials;
    // The user's word that the core is not ours even on this computer (a
    // core run by a service, say): never started or stopped by us.
    bool remoteChosen = false;
};

inline constexpr const char* kCorePortInvalidText =
    "The core's port must be a number from 1 to 65535.";
inline constexpr const char* kPasswordNotKeptText =
    "The core's password was not saved: the settings file could not be made readable by you "
    "alone.";
inline constexpr const char* kCoreSettingsCaption = "Core";

// An empty or unusable value falls back to the default.
CoreSettings ReadCoreSettings(const SettingsStore& settings);

enum class CoreSettingsSaved { Saved, PasswordNotKept };
// Stores every value. The password goes only into a store made readable by
// its owner alone; where that fails it is left out (and an older one
// removed), and the answer says so.
CoreSettingsSaved WriteCoreSettings(SettingsStore& settings, const CoreSettings& core);

// A password already in the store (typed into the file by hand, or kept
// by an older version) makes the store owner-only too; false when that
// failed.
bool KeepStoredPasswordPrivate(SettingsStore& settings);

// The port typed in a box: 1 to 65535, digits only.
std::optional<std::uint16_t> ParseCorePort(std::string_view text);

// This computer by name or address: localhost, 127.0.0.0/8 or ::1.
bool IsLocalHost(std::string_view host);

// A core that is not ours: chosen so, or on another computer. We never
// start, restart or stop it; its paths are its own.
bool IsRemoteCore(const CoreSettings& core);

// The user name and password as the link's thread reads them at each
// log-in. The settings store belongs to the GUI thread, so the link reads
// this copy, which the GUI thread renews after the preferences are saved.
class CoreCredentialsBox {
  public:
    explicit CoreCredentialsBox(CoreCredentials initial) : credentials_(std::move(initial)) {}
    void Set(CoreCredentials credentials);
    CoreCredentials Get() const;

  private:
    mutable std::mutex mutex_;
    CoreCredentials credentials_;
};

// The link's configuration from the settings. The credentials are read
// again at every log-in, so a corrected password is used at the next
// attempt: from `box` when given, else from `settings`, which must then be
// safe to read from the link's thread. Both must outlive the link.
// `downloadsFolder` gives the current downloads folder at each log-in.
CoreLinkConfig ReadCoreLinkConfig(const SettingsStore& settings,
                                  std::function<std::string()> downloadsFolder,
                                  const CoreCredentialsBox* box = nullptr);

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
