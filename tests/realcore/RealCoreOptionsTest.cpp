// Every setting the Preferences send to the core, saved through the
// dialog's own Save with a value other than the core's, must be what the
// core's console reports afterwards and what the reopened pages show.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "prefs/CoreOptionPages.h"
#include "prefs/PreferencesSave.h"
#include "tests/realcore/RealCoreWorld.h"

namespace korvana::realcore {
namespace {

// The value of `name` as the console's `voo` prints it; empty when the core
// has no such option.
std::string ConsoleValue(const std::string& answer, const std::string& name) {
    const std::string prefix = name + " = ";
    const std::size_t at = answer.find(prefix);
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t end = answer.find('\n', at);
    std::string value = answer.substr(at + prefix.size(), end - at - prefix.size());
    value.erase(value.find_last_not_of("\r ") + 1);
    return value;
}

class RealCoreOptionsTest : public RealCoreWorld {
  protected:
    std::string Voo(const std::string& name) { return ConsoleValue(Console("voo " + name), name); }

    // The first of a row's port names that the core's console knows.
    std::string ConsolePortName(const NetworkRow& row) {
        for (const std::string_view name : row.portOptions) {
            if (!name.empty() && !Voo(std::string(name)).empty()) {
                return std::string(name);
            }
        }
        return {};
    }

    // Fills the pages once the core has reported its options, as the
    // dialog does at opening.
    void OpenPages(GeneralFields& general, NetworkFields& networks) {
        ASSERT_TRUE(Eventually([&] {
            general = FillGeneral(*options);
            networks = FillNetworks(*options);
            return AnyReported(general) && AnyReported(networks);
        })) << "the core reported no options";
    }
};

// A number in `range` other than `current`.
std::string OtherNumber(const std::string& current, NumberRange range, std::uint32_t wanted) {
    const std::uint32_t chosen = std::to_string(wanted) != current ? wanted : wanted + 1;
    EXPECT_GE(chosen, range.min);
    EXPECT_LE(chosen, range.max);
    return std::to_string(chosen);
}

TEST_F(RealCoreOptionsTest, EveryPreferencesOptionRoundTrips) {
    ConnectLink();
    GeneralFields general;
    NetworkFields networks;
    OpenPages(general, networks);

    std::map<std::string, std::string> expected;
    const std::array<std::uint32_t, kLimitCount> wantedLimits{37, 9, 321, 123};
    for (std::size_t i = 0; i < kLimitCount; ++i) {
        const LimitField& field = kLimitFields[i];
        ASSERT_TRUE(general.reported[i]) << field.option;
        EXPECT_EQ(general.limits[i], Voo(std::string(field.option))) << field.option;
        general.limits[i] = OtherNumber(general.limits[i], field.range, wantedLimits[i]);
        expected[std::string(field.option)] = general.limits[i];
    }
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        const NetworkRow& row = kNetworkRows[i];
        NetworkFieldValues& values = networks.rows[i];
        // The page uses the port name the core has, and none where it has none.
        EXPECT_EQ(values.portOption, ConsolePortName(row)) << row.label;
        if (!values.portOption.empty()) {
            EXPECT_EQ(values.port, Voo(values.portOption)) << values.portOption;
            values.port =
                OtherNumber(values.port, kPortRange, 46201 + static_cast<std::uint32_t>(i));
            expected[values.portOption] = values.port;
        }
        if (values.switchAvailable) {
            const std::string now = Voo(std::string(row.enableOption));
            EXPECT_EQ(values.enableIndex == kTrueIndex ? "true" : "false", now) << row.label;
            values.enableIndex = values.enableIndex == kTrueIndex ? kFalseIndex : kTrueIndex;
            expected[std::string(row.enableOption)] =
                values.enableIndex == kTrueIndex ? "true" : "false";
        }
    }
    // This core is built with eDonkey (which holds Overnet), Fasttrack and
    // Direct Connect: each of them must be among the settings saved.
    for (const char* name : {"ED2K-port", "enable_overnet", "FT-client_port", "DC-client_port"}) {
        EXPECT_EQ(expected.count(name), 1u) << name;
    }

    SharingPrefs sharing = SharingPrefs::Open(settings, prompter, dir.Path(), options.get());
    ASSERT_TRUE(SavePreferences(*options, prompter, general, networks, sharing));

    for (const auto& option : expected) {
        const std::string& name = option.first;
        const std::string& value = option.second;
        EXPECT_TRUE(Eventually([&] { return Voo(name) == value; }, 20s))
            << name << ": the core has " << Voo(name) << ", not " << value;
    }
    // The core announces each change, so the reopened pages show what was saved.
    GeneralFields reopenedGeneral;
    NetworkFields reopenedNetworks;
    EXPECT_TRUE(Eventually([&] {
        reopenedGeneral = FillGeneral(*options);
        reopenedNetworks = FillNetworks(*options);
        return reopenedGeneral.limits == general.limits;
    }));
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        EXPECT_EQ(reopenedNetworks.rows[i].port, networks.rows[i].port) << kNetworkRows[i].label;
        if (networks.rows[i].switchAvailable) {
            EXPECT_EQ(reopenedNetworks.rows[i].enableIndex, networks.rows[i].enableIndex)
                << kNetworkRows[i].label;
        }
    }
    // No setting went out that the core does not have: the core logs such a
    // setting and answers it with a console message, which the status log
    // shows.
    const std::string coreLog = core->Log();
    EXPECT_EQ(coreLog.find("Could not set option"), std::string::npos) << coreLog;
    std::vector<std::string> lines;
    log.CopySince(0, lines);
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("for message SetOption"), std::string::npos) << line;
    }
    EXPECT_TRUE(prompter.informed.empty());
    // The Save ends with the core writing its settings to its own file.
    const std::filesystem::path file = core->Folder() / "downloads.ini";
    EXPECT_TRUE(Eventually([&] {
        const std::string written = ReadFile(file);
        for (std::size_t i = 0; i < kLimitCount; ++i) {
            if (written.find(std::string(kLimitFields[i].option) + " = " + general.limits[i]) ==
                std::string::npos) {
                return false;
            }
        }
        return true;
    })) << ReadFile(file);
}

}  // namespace
}  // namespace korvana::realcore
