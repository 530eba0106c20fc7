#include "prefs/DownloadsIni.h"
#include "prefs/PreferencesSave.h"
#include "tests/prefs/PrefsFakes.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace korvana {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// The dialog as a whole: fill from the core, then Save or Cancel.
class Preferences : public ::testing::Test {
  protected:
    Preferences() : install_(dir_.Path()), downloads_(install_ / "Downloads") {
        fs::create_directories(downloads_);
        core_.Report("max_hard_download_rate", "50");
        core_.Report("max_hard_upload_rate", "10");
        core_.Report("max_upload_slots", "3");
        core_.Report("max_concurrent_downloads", "30");
        core_.Report("enable_donkey", "true");
        core_.Report("enable_overnet", "TRUE");
        core_.Report("ED2K-port", "4700");
        core_.Report("FT-client_port", "1214");
    }

    test::TempDir dir_;
    fs::path install_;
    fs::path downloads_;
    test::MemorySettings settings_;
    test::RecordingPrompter prompter_;
    test::RecordingCore core_;
};

TEST_F(Preferences, SaveWithNothingChangedSendsWhatTheCoreReportedThenSave) {
    SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
    ASSERT_TRUE(
        SavePreferences(core_, prompter_, FillGeneral(core_), FillNetworks(core_), sharing));
    const Lines expected{"option max_hard_download_rate=50",
                         "option max_hard_upload_rate=10",
                         "option max_upload_slots=3",
                         "option max_concurrent_downloads=30",
                         "option enable_donkey=true",
                         "option enable_overnet=true",
                         "option ED2K-port=4700",
                         "option FT-client_port=1214",
                         "command unshare " + downloads_.string(),
                         "command share 0 " + downloads_.string() + " incoming_files",
                         "command reshare",
                         "command shares",
                         "command save"};
    EXPECT_EQ(core_.sent, expected);
    EXPECT_TRUE(prompter_.informed.empty());
}

TEST_F(Preferences, SaveBeforeTheCoreReportedAnythingSendsNoOption) {
    test::RecordingCore silent;
    SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
    ASSERT_TRUE(
        SavePreferences(silent, prompter_, FillGeneral(silent), FillNetworks(silent), sharing));
    for (const std::string& line : silent.sent) {
        EXPECT_EQ(line.rfind("option ", 0), std::string::npos) << line;
    }
    EXPECT_EQ(silent.sent.back(), "command save");
}

TEST_F(Preferences, AnInvalidBoxSendsNothingAndSaysWhich) {
    SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
    sharing.Add("/srv/music");
    GeneralFields general = FillGeneral(core_);
    general.limits[1] = "-5";

    EXPECT_FALSE(SavePreferences(core_, prompter_, general, FillNetworks(core_), sharing));

    EXPECT_TRUE(core_.sent.empty());
    ASSERT_EQ(prompter_.informed.size(), 1u);
    EXPECT_EQ(prompter_.informed[0].first,
              "Nothing was saved. Please correct these settings:\n"
              "Maximum simultaneous uploads: a whole number from 3 to 10000");
    EXPECT_EQ(prompter_.informed[0].second, "Preferences Error");
}

TEST_F(Preferences, AFolderWithALineBreakInTheCoresFileNeverReachesTheConsole) {
    fs::create_directories(install_ / "mldonkey");
    std::ofstream(DownloadsIniPath(install_), std::ios::binary)
        << " shared_directories = [\n  {     dirname = \"/x\\010share /etc\\013\"\n"
        << "     strategy = only_directory\n};]\n";
    SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
    ASSERT_EQ(sharing.SharedFolders(), (Lines{"/x\nshare /etc\r"}));

    ASSERT_TRUE(
        SavePreferences(core_, prompter_, FillGeneral(core_), FillNetworks(core_), sharing));

    for (const std::string& line : core_.sent) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    }
    ASSERT_EQ(prompter_.informed.size(), 1u);
    EXPECT_EQ(prompter_.informed[0].second, "Shared Folders Error");
    EXPECT_NE(prompter_.informed[0].first.find("/x\nshare /etc"), std::string::npos);
}

TEST_F(Preferences, CancelAfterEditsSendsNothingAndReopeningShowsTheCore) {
    {
        GeneralFields general = FillGeneral(core_);
        NetworkFields networks = FillNetworks(core_);
        SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
        general.limits[0] = "99";
        networks.rows[2].enableIndex = kFalseIndex;
        sharing.Add("/srv/x");
    }
    EXPECT_TRUE(core_.sent.empty());
    EXPECT_EQ(FillGeneral(core_).limits[0], "30");
    EXPECT_EQ(FillNetworks(core_).rows[2].enableIndex, kTrueIndex);
}

TEST_F(Preferences, UserIsToldAfterSaveAboutFilesAndFoldersLeftOut) {
    std::ofstream(downloads_ / "taken.mp3") << "old";
    const fs::path chosen = dir_.Path() / "new";
    fs::create_directories(chosen);
    std::ofstream(chosen / "taken.mp3") << "new";
    prompter_.answer = true;
    SharingPrefs sharing = SharingPrefs::Open(settings_, prompter_, install_);
    sharing.Browse(chosen.string());
    sharing.Add("/a b\\");
    sharing.Add("/a b\\");
    sharing.Add("/x\nshare /etc");

    SavePreferences(core_, prompter_, FillGeneral(core_), FillNetworks(core_), sharing);

    EXPECT_EQ(core_.sent.back(), "command save");
    ASSERT_EQ(prompter_.informed.size(), 2u);
    EXPECT_EQ(prompter_.informed[0].second, "Move Files Error");
    EXPECT_NE(prompter_.informed[0].first.find("1 file could not be moved"), std::string::npos);
    EXPECT_NE(prompter_.informed[0].first.find("It is still in " + downloads_.string() + "."),
              std::string::npos);
    EXPECT_EQ(prompter_.informed[1],
              (std::pair<std::string, std::string>{
                  "These folders could not be passed to the P2P core, because their names hold "
                  "both kinds of quotation marks, a line break or a zero byte, or end in a "
                  "backslash:\n/x\nshare /etc\n/a b\\",
                  "Shared Folders Error"}));
}

}  // namespace
}  // namespace korvana
