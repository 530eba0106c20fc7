#include "prefs/CoreOptionPages.h"
#include "prefs/PreferencesLayout.h"
#include "tests/prefs/PrefsFakes.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

using test::RecordingCore;
using Lines = std::vector<std::string>;

Lines Sent(const std::vector<OptionCommand>& commands) {
    RecordingCore core;
    SendOptionCommands(core, commands);
    return core.sent;
}

// The options a documented core reports: every switch and every port under
// the names that form of core uses.
void ReportDocumentedCore(RecordingCore& core) {
    const Lines ports{"GNUT-client_port", "G2-client_port",     "port",
                      "FT-client_port",   "overnet_port",       "DC-client_port",
                      "SLSK-client_port", "OpenNap-client_port"};
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        core.Report(std::string(kNetworkRows[i].enableOption), "false");
        core.Report(ports[i], std::to_string(4000 + i));
    }
}

// What a real 3.2.1 core reports: all the switches (its option file defines
// them whatever it was built with), but ports only for the networks built
// in, the eDonkey one as "ED2K-port".
void ReportRealCore(RecordingCore& core) {
    for (const NetworkRow& row : kNetworkRows) {
        core.Report(std::string(row.enableOption), "false");
    }
    core.Report("enable_donkey", "true");
    core.Report("enable_overnet", "true");
    core.Report("ED2K-port", "4662");
    core.Report("FT-client_port", "1214");
    core.Report("DC-client_port", "4444");
}

TEST(FillNetworks, OnlyTrueInAnyLetterCaseSelectsTrue) {
    RecordingCore core;
    ReportDocumentedCore(core);
    core.Report("enable_gnutella", "TRUE");
    core.Report("enable_gnutella2", "True");
    core.Report("enable_donkey", "true");
    core.Report("enable_fasttrack", "yes");
    core.Report("enable_overnet", "1");
    core.Report("enable_directconnect", " true");
    const NetworkFields fields = FillNetworks(core);
    const std::vector<int> expected{kTrueIndex,  kTrueIndex,  kTrueIndex,  kFalseIndex,
                                    kFalseIndex, kFalseIndex, kFalseIndex, kFalseIndex};
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        EXPECT_EQ(fields.rows[i].enableIndex, expected[i]) << kNetworkRows[i].label;
    }
    // "yes" shows FALSE and goes back as "false".
    EXPECT_EQ(Sent(NetworkSaveCommands(fields))[3], "option enable_fasttrack=false");
}

TEST(FillNetworks, ARealCoresNamesAreUsedAndWhatItLacksIsUnavailable) {
    RecordingCore core;
    ReportRealCore(core);
    const NetworkFields fields = FillNetworks(core);
    EXPECT_TRUE(AnyReported(fields));
    const auto& donkey = fields.rows[2];
    EXPECT_EQ(donkey.portOption, "ED2K-port");
    EXPECT_EQ(donkey.port, "4662");
    EXPECT_TRUE(donkey.switchAvailable);
    // Overnet is part of the eDonkey plugin: its switch works, its port is
    // not an option of this core.
    EXPECT_TRUE(fields.rows[4].switchAvailable);
    EXPECT_EQ(fields.rows[4].portOption, "");
    for (const std::size_t missing : {0u, 1u, 6u, 7u}) {
        EXPECT_FALSE(fields.rows[missing].switchAvailable) << kNetworkRows[missing].label;
        EXPECT_EQ(fields.rows[missing].portOption, "") << kNetworkRows[missing].label;
    }

    EXPECT_EQ(Sent(NetworkSaveCommands(fields)),
              (Lines{"option enable_donkey=true", "option enable_fasttrack=false",
                     "option enable_overnet=true", "option enable_directconnect=false",
                     "option ED2K-port=4662", "option FT-client_port=1214",
                     "option DC-client_port=4444"}));
}

TEST(FillAndSave, NothingReportedSendsNoOptionAtAll) {
    const RecordingCore core;
    const GeneralFields general = FillGeneral(core);
    const NetworkFields networks = FillNetworks(core);
    EXPECT_FALSE(AnyReported(general));
    EXPECT_FALSE(AnyReported(networks));
    EXPECT_TRUE(GeneralSaveCommands(general).empty());
    EXPECT_TRUE(NetworkSaveCommands(networks).empty());
    EXPECT_TRUE(InvalidFields(general, networks).empty());
}

TEST(FillAndSave, OnlyTheLimitsTheCoreReportedGoBack) {
    RecordingCore core;
    core.Report("max_upload_slots", "5");
    core.Report("max_hard_download_rate", "");
    const GeneralFields general = FillGeneral(core);
    EXPECT_TRUE(AnyReported(general));
    EXPECT_EQ(Sent(GeneralSaveCommands(general)), (Lines{"option max_upload_slots=5"}));
}

TEST(NumberBoxes, AcceptOnlyDigitsInTheOptionsRange) {
    const NumberRange range{3, 100};
    EXPECT_EQ(ParseOptionNumber("3", range), 3u);
    EXPECT_EQ(ParseOptionNumber("100", range), 100u);
    EXPECT_EQ(ParseOptionNumber("007", range), 7u);
    for (const std::string text : {"", "abc", "-5", "+5", " 5", "5 ", "5 KB", "2", "101",
                                   "99999999999", "4294967299", "1e2", "0x10"}) {
        EXPECT_EQ(ParseOptionNumber(text, range), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(ParseOptionNumber("4294967295", {0, 4294967295u}), 4294967295u);
}

TEST(NumberBoxes, EveryBadBoxIsNamedWithItsRange) {
    RecordingCore core;
    core.Report("max_concurrent_downloads", "60");
    core.Report("max_upload_slots", "5");
    core.Report("max_hard_download_rate", "50");
    ReportRealCore(core);
    GeneralFields general = FillGeneral(core);
    NetworkFields networks = FillNetworks(core);
    EXPECT_TRUE(InvalidFields(general, networks).empty());

    general.limits = {"abc", "-5", "", "99999999999"};  // the last one is not reported
    networks.rows[2].port = "70000";
    networks.rows[0].port = "garbage";  // unavailable: never checked, never sent
    EXPECT_EQ(InvalidFields(general, networks),
              (Lines{"Maximum simultaneous downloads: a whole number from 0 to 10000",
                     "Maximum simultaneous uploads: a whole number from 3 to 10000",
                     "Limit P2P download bandwidth to: a whole number from 0 to 1000000",
                     "Donkey port: a whole number from 1 to 65535"}));
    EXPECT_EQ(InvalidFieldsMessage({"a", "b"}),
              "Nothing was saved. Please correct these settings:\na\nb");
}

TEST(Save, NumbersGoOutInPlainDecimalAndNoSelectionIsFalse) {
    RecordingCore core;
    ReportDocumentedCore(core);
    for (const LimitField& field : kLimitFields) {
        core.Report(std::string(field.option), "1");
    }
    GeneralFields general = FillGeneral(core);
    general.limits = {"0012", "3", "0", "250"};
    EXPECT_EQ(Sent(GeneralSaveCommands(general)),
              (Lines{"option max_hard_download_rate=0", "option max_hard_upload_rate=250",
                     "option max_upload_slots=3", "option max_concurrent_downloads=12"}));

    NetworkFields networks = FillNetworks(core);
    networks.rows[0].enableIndex = kTrueIndex;
    networks.rows[1].enableIndex = kNoSelection;
    networks.rows[2].port = "04700";
    const Lines sent = Sent(NetworkSaveCommands(networks));
    ASSERT_EQ(sent.size(), 2 * kNetworkCount);
    EXPECT_EQ(sent[0], "option enable_gnutella=true");
    EXPECT_EQ(sent[1], "option enable_gnutella2=false");
    EXPECT_EQ(sent[8], "option GNUT-client_port=4000");
    EXPECT_EQ(sent[10], "option port=4700");
    EXPECT_EQ(sent[12], "option overnet_port=4004");
}

TEST(OptionText, OverlongTextIsCappedOnACharacterBoundary) {
    // "é" is two bytes; one starting at the last allowed byte is dropped whole.
    const std::string text = std::string(kMaxOptionTextBytes - 1, 'a') + "\xC3\xA9z";
    EXPECT_EQ(CapText(text, kMaxOptionTextBytes), std::string(kMaxOptionTextBytes - 1, 'a'));
    EXPECT_EQ(CapText("short", kMaxOptionTextBytes), "short");

    RecordingCore core;
    core.Report("overnet_port", std::string(1000, '1'));
    EXPECT_EQ(FillNetworks(core).rows[4].port.size(), kMaxOptionTextBytes);
}

TEST(PageList, OnlyAClickOnAnotherItemSwitchesThePage) {
    EXPECT_EQ(PageAfterClick(-1, 0), -1);  // below the last item
    EXPECT_EQ(PageAfterClick(0, 0), -1);   // the visible page's item
    EXPECT_EQ(PageAfterClick(2, 0), 2);
    EXPECT_EQ(PageAfterClick(1, 2), 1);
}

}  // namespace
}  // namespace korvana
