#include "prefs/CoreOptionPages.h"
#include "prefs/PreferencesLayout.h"
#include "tests/prefs/PrefsFakes.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

using test::RecordingCore;

std::vector<std::string> Sent(const std::vector<OptionCommand>& commands) {
    RecordingCore core;
    SendOptionCommands(core, commands);
    return core.sent;
}

TEST(FillNetworks, OnlyTrueInAnyLetterCaseSelectsTrue) {
    RecordingCore core;
    core.Report("enable_gnutella", "TRUE");
    core.Report("enable_gnutella2", "True");
    core.Report("enable_donkey", "true");
    core.Report("enable_fasttrack", "yes");
    core.Report("enable_overnet", "1");
    core.Report("enable_directconnect", " true");
    core.Report("enable_soulseek", "");
    const NetworkFields fields = FillNetworks(core);
    const std::vector<int> expected{kTrueIndex,  kTrueIndex,  kTrueIndex,  kFalseIndex,
                                    kFalseIndex, kFalseIndex, kFalseIndex, kFalseIndex};
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        EXPECT_EQ(fields.rows[i].enableIndex, expected[i]) << kNetworkRows[i].label;
    }
    // "yes" shows FALSE and goes back as "false".
    EXPECT_EQ(Sent(NetworkSaveCommands(fields))[3], "option enable_fasttrack=false");
}

TEST(FillNetworks, EmptyPortKeepsTheDefaultAndSaveSendsIt) {
    RecordingCore core;
    core.Report("port", "");
    core.Report("GNUT-client_port", "7000");
    const NetworkFields fields = FillNetworks(core);
    EXPECT_EQ(fields.rows[0].port, "7000");
    EXPECT_EQ(fields.rows[2].port, "4662");
    const std::vector<std::string> sent = Sent(NetworkSaveCommands(fields));
    EXPECT_EQ(sent[8], "option GNUT-client_port=7000");
    EXPECT_EQ(sent[10], "option port=4662");
}

TEST(FillAndSave, NothingReportedGivesEmptyLimitsFalseNetworksAndDefaultPorts) {
    const RecordingCore core;
    EXPECT_EQ(FillGeneral(core).limits, (std::array<std::string, kLimitCount>{}));
    const std::vector<std::string> sent = Sent(NetworkSaveCommands(FillNetworks(core)));
    ASSERT_EQ(sent.size(), 2 * kNetworkCount);
    for (std::size_t i = 0; i < kNetworkCount; ++i) {
        EXPECT_EQ(sent[i], "option " + std::string(kNetworkRows[i].enableOption) + "=false");
    }
    EXPECT_EQ(sent[8], "option GNUT-client_port=6346");
    EXPECT_EQ(sent[15], "option OpenNap-client_port=6699");
}

TEST(Save, TextsGoOutExactlyAsTypedAndNoSelectionIsFalse) {
    GeneralFields general;
    general.limits = {"abc", " 12 ", "", "5 KB"};
    EXPECT_EQ(Sent(GeneralSaveCommands(general)),
              (std::vector<std::string>{
                  "option max_hard_download_rate=", "option max_hard_upload_rate=5 KB",
                  "option max_upload_slots= 12 ", "option max_concurrent_downloads=abc"}));

    NetworkFields networks;
    networks.rows[0] = {kTrueIndex, " 6346"};
    networks.rows[1] = {kNoSelection, ""};
    networks.rows[4] = {kTrueIndex, "x"};
    const std::vector<std::string> sent = Sent(NetworkSaveCommands(networks));
    EXPECT_EQ(sent[0], "option enable_gnutella=true");
    EXPECT_EQ(sent[1], "option enable_gnutella2=false");
    EXPECT_EQ(sent[4], "option enable_overnet=true");
    EXPECT_EQ(sent[8], "option GNUT-client_port= 6346");
    EXPECT_EQ(sent[9], "option G2-client_port=");
    EXPECT_EQ(sent[12], "option overnet_port=x");
}

TEST(OptionText, OverlongTextIsCappedOnACharacterBoundary) {
    GeneralFields general;
    general.limits[2] = std::string(300, '9');
    EXPECT_EQ(GeneralSaveCommands(general)[0].value, std::string(kMaxOptionTextBytes, '9'));

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
