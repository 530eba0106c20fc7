#include "app/CoreConfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/StatusTexts.h"
#include "tests/support/MemorySettings.h"

namespace korvana {
namespace {

// Records the order of writes and restrictions; a restriction may be made
// to fail, as on a file system without permissions.
class WatchedSettings final : public SettingsStore {
  public:
    std::optional<std::string> Read(const std::string& key) const override {
        return values.Read(key);
    }
    void Write(const std::string& key, const std::string& value) override {
        events.push_back("write " + key);
        values.Write(key, value);
    }
    void Remove(const std::string& key) override {
        events.push_back("remove " + key);
        values.Remove(key);
    }
    bool RestrictToOwner() override {
        events.push_back("restrict");
        return restrictWorks;
    }

    test::MemorySettings values;
    std::vector<std::string> events;
    bool restrictWorks = true;
};

TEST(CoreHost, LoopbackNamesAndAddressesAreThisComputer) {
    for (const char* host : {"localhost", "LocalHost", "localhost.", "127.0.0.1", "127.1.2.3",
                             "::1", "[::1]", "0:0:0:0:0:0:0:1"}) {
        EXPECT_TRUE(IsLocalHost(host)) << host;
    }
}

TEST(CoreHost, EveryOtherHostIsAnotherComputer) {
    for (const char* host :
         {"", "homeserver", "192.168.1.20", "128.0.0.1", "127.0.0", "127.0.0.256", "127.0.0.1.5",
          "1127.0.0.1", "localhost.example", "::2", "fe80::1", "127.0.0.1x", "notlocalhost"}) {
        EXPECT_FALSE(IsLocalHost(host)) << host;
    }
}

TEST(CoreHost, RemoteWhenChosenOrElsewhere) {
    CoreSettings core;
    EXPECT_FALSE(IsRemoteCore(core));
    core.remoteChosen = true;
    EXPECT_TRUE(IsRemoteCore(core));
    core.remoteChosen = false;
    core.host = "nas.lan";
    EXPECT_TRUE(IsRemoteCore(core));
}

TEST(CorePortText, OnlyDigitsOfAUsablePort) {
    EXPECT_EQ(ParseCorePort("4001"), 4001);
    EXPECT_EQ(ParseCorePort("65535"), 65535);
    for (const char* text : {"", "0", "65536", "-1", "40 01", " 4001", "4001x", "99999999999"}) {
        EXPECT_FALSE(ParseCorePort(text).has_value()) << text;
    }
}

TEST(CoreSettingsStore, DefaultsWhenNothingOrNothingUsableIsStored) {
    test::MemorySettings settings;
    settings.values = {{"CoreHost", ""}, {"CorePort", "70000"}, {"CoreUser", ""}};
    const CoreSettings core = ReadCoreSettings(settings);
    EXPECT_EQ(core.host, "localhost");
    EXPECT_EQ(core.port, 4001);
    EXPECT_EQ(core.credentials.user, "admin");
    EXPECT_EQ(core.credentials.password, "");
    EXPECT_FALSE(core.remoteChosen);
}

TEST(CoreSettingsStore, WhatIsWrittenReadsBack) {
    test::MemorySettings settings;
    CoreSettings core;
    core.host = "nas.lan";
    core.port = 4101;
    core.credentials = {"korvana", "pa ss\"word"};
    core.remoteChosen = true;
    EXPECT_EQ(WriteCoreSettings(settings, core), CoreSettingsSaved::Saved);
    const CoreSettings back = ReadCoreSettings(settings);
    EXPECT_EQ(back.host, "nas.lan");
    EXPECT_EQ(back.port, 4101);
    EXPECT_EQ(back.credentials.user, "korvana");
    EXPECT_EQ(back.credentials.password, "pa ss\"word");
    EXPECT_TRUE(back.remoteChosen);
}

TEST(CoreSettingsStore, PasswordIsWrittenOnlyAfterTheStoreIsRestricted) {
    WatchedSettings settings;
    CoreSettings core;
    core.credentials.password = "secret";
    ASSERT_EQ(WriteCoreSettings(settings, core), CoreSettingsSaved::Saved);
    const auto restrict = std::find(settings.events.begin(), settings.events.end(), "restrict");
    const auto password =
        std::find(settings.events.begin(), settings.events.end(), "write CorePassword");
    ASSERT_NE(password, settings.events.end());
    EXPECT_LT(restrict, password);
}

TEST(CoreSettingsStore, PasswordIsNotKeptWhereTheStoreCannotBeRestricted) {
    WatchedSettings settings;
    settings.values.Write("CorePassword", "old");
    settings.restrictWorks = false;
    CoreSettings core;
    core.credentials.password = "secret";
    EXPECT_EQ(WriteCoreSettings(settings, core), CoreSettingsSaved::PasswordNotKept);
    EXPECT_FALSE(settings.Read("CorePassword").has_value());
    EXPECT_EQ(ReadCoreSettings(settings).host, "localhost");
}

TEST(CoreSettingsStore, StoredPasswordMakesTheStoreOwnerOnlyAtStart) {
    WatchedSettings settings;
    EXPECT_TRUE(KeepStoredPasswordPrivate(settings));
    EXPECT_TRUE(settings.events.empty());
    settings.values.Write("CorePassword", "by hand");
    EXPECT_TRUE(KeepStoredPasswordPrivate(settings));
    EXPECT_EQ(settings.events, (std::vector<std::string>{"restrict"}));
    settings.restrictWorks = false;
    EXPECT_FALSE(KeepStoredPasswordPrivate(settings));
}

TEST(CoreSettingsStore, EmptyPasswordRemovesTheStoredOne) {
    test::MemorySettings settings;
    settings.values["CorePassword"] = "old";
    EXPECT_EQ(WriteCoreSettings(settings, CoreSettings{}), CoreSettingsSaved::Saved);
    EXPECT_FALSE(settings.Read("CorePassword").has_value());
}

TEST(CoreLinkSettings, LinkReadsTheCredentialsAgainAtEachLogIn) {
    test::MemorySettings settings;
    settings.values = {{"CoreHost", "nas.lan"}, {"CorePort", "4101"}, {"CorePassword", "one"}};
    const CoreLinkConfig config = ReadCoreLinkConfig(settings, {});
    EXPECT_EQ(config.host, "nas.lan");
    EXPECT_EQ(config.port, 4101);
    EXPECT_TRUE(config.remoteCore);
    ASSERT_TRUE(config.credentials);
    EXPECT_EQ(config.credentials().password, "one");
    settings.values["CorePassword"] = "two";
    EXPECT_EQ(config.credentials().password, "two");
}

TEST(CoreLinkSettings, CredentialsComeFromTheBoxWhenOneIsGiven) {
    test::MemorySettings settings;
    settings.values = {{"CorePassword", "stored"}};
    CoreCredentialsBox box(ReadCoreSettings(settings).credentials);
    const CoreLinkConfig config = ReadCoreLinkConfig(settings, {}, &box);
    settings.values["CorePassword"] = "changed in the store";
    EXPECT_EQ(config.credentials().password, "stored");
    box.Set({"korvana", "renewed"});
    EXPECT_EQ(config.credentials().user, "korvana");
    EXPECT_EQ(config.credentials().password, "renewed");
}

TEST(CoreLinkSettings, OwnCoreOnThisComputerIsNotRemote) {
    test::MemorySettings settings;
    settings.values = {{"CoreHost", "127.0.0.1"}};
    EXPECT_FALSE(ReadCoreLinkConfig(settings, {}).remoteCore);
    settings.values["CoreRemote"] = "true";
    EXPECT_TRUE(ReadCoreLinkConfig(settings, {}).remoteCore);
}

TEST(CoreStatusText, RefusedPasswordIsNamedInTheServersPane) {
    StatusInputs inputs;
    inputs.coreConnected = false;
    EXPECT_EQ(ComputeStatusTexts(inputs).servers, kCoreNotConnectedText);
    inputs.coreLoginRefused = true;
    EXPECT_EQ(ComputeStatusTexts(inputs).servers, kCoreRefusedPasswordText);
}

}  // namespace
}  // namespace korvana
