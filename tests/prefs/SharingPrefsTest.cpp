#include "prefs/ConsoleArgument.h"
#include "prefs/DownloadsIni.h"
#include "prefs/SharingPrefs.h"
#include "tests/prefs/PrefsFakes.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace korvana {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(ConsoleArgument, QuotesOnlyWhatTheCoreWouldSplit) {
    EXPECT_EQ(ConsoleArgument("/home/a/Music"), "/home/a/Music");
    EXPECT_EQ(ConsoleArgument("C:\\Music\\"), "C:\\Music\\");  // no space: as it is
    EXPECT_EQ(ConsoleArgument("/home/a b/Music"), "\"/home/a b/Music\"");
    EXPECT_EQ(ConsoleArgument("/tab\there"), "\"/tab\there\"");
    EXPECT_EQ(ConsoleArgument("\"quoted"), "'\"quoted'");
    EXPECT_EQ(ConsoleArgument("'quoted"), "\"'quoted\"");
    EXPECT_EQ(ConsoleArgument("/say \"hi\""), "'/say \"hi\"'");
    EXPECT_EQ(ConsoleArgument("/a b\\\\"), "\"/a b\\\\\"");  // even backslashes are fine
    EXPECT_EQ(ConsoleArgument("/a b\\"), std::nullopt);      // would hide the closing quote
    EXPECT_EQ(ConsoleArgument("/it's \"x\""), std::nullopt);
}

// An installation in a temporary folder with a downloads folder and the
// core's downloads.ini.
class SharingPage : public ::testing::Test {
  protected:
    SharingPage() : install_(dir_.Path() / "Korvana"), downloads_(install_ / "Downloads") {
        fs::create_directories(downloads_);
    }

    void WriteIni(const Lines& folders) {
        fs::create_directories(install_ / "mldonkey");
        std::ofstream out(DownloadsIniPath(install_), std::ios::binary);
        out << " shared_directories = [\n";
        for (const std::string& folder : folders) {
            out << "  {     dirname = \"" << folder << "\"\n     strategy = only_directory\n};\n";
        }
        out << "]\n";
    }
    SharingPrefs Open() { return SharingPrefs::Open(settings_, prompter_, install_); }

    test::TempDir dir_;
    fs::path install_;
    fs::path downloads_;
    test::MemorySettings settings_;
    test::RecordingPrompter prompter_;
    test::RecordingCore core_;
};

TEST_F(SharingPage, OpensWithTheStoredFolderAndTheCoresFolders) {
    WriteIni({"/srv/a", "/srv/b c"});
    const SharingPrefs page = Open();
    EXPECT_EQ(page.DownloadsFolder(), downloads_.string());
    EXPECT_EQ(page.SharedFolders(), (Lines{"/srv/a", "/srv/b c"}));
    settings_.values["Path"] = "/elsewhere";
    EXPECT_EQ(Open().DownloadsFolder(), "/elsewhere");
}

TEST_F(SharingPage, SameFolderAsksNothingAndOnlyReshares) {
    WriteIni({"/srv/a"});
    SharingPrefs page = Open();
    page.Browse(downloads_.string());
    page.Save(core_);
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_FALSE(settings_.values.contains("Path"));
    EXPECT_EQ(core_.sent, (Lines{"command unshare /srv/a", "command unshare " + downloads_.string(),
                                 "command share /srv/a",
                                 "command share 0 " + downloads_.string() + " incoming_files",
                                 "command reshare", "command shares"}));
}

TEST_F(SharingPage, NewFolderAnsweredNoMovesNothing) {
    std::ofstream(downloads_ / "song.mp3") << "x";
    const fs::path chosen = dir_.Path() / "deep" / "new";
    core_.Report("incoming_directory", downloads_.string());
    SharingPrefs page = Open();
    page.Browse(chosen.string());
    EXPECT_EQ(prompter_.asked,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Do you want to move your downloads to the new location?", "Move files?"}}));
    EXPECT_EQ(page.DownloadsFolder(), chosen.string());
    const SharingSaveReport report = page.Save(core_);
    EXPECT_EQ(settings_.values["Path"], chosen.string());
    EXPECT_TRUE(fs::is_directory(chosen));  // created with its parents
    EXPECT_TRUE(fs::exists(downloads_ / "song.mp3"));
    EXPECT_TRUE(report.movedFrom.empty());
    EXPECT_EQ(core_.sent,
              (Lines{"option incoming_directory=" + chosen.string(),
                     "command unshare " + downloads_.string(), "command unshare " + chosen.string(),
                     "command share 0 " + chosen.string() + " incoming_files", "command reshare",
                     "command shares"}));
}

TEST_F(SharingPage, NewFolderAnsweredYesMovesAndKeepsConflicts) {
    std::ofstream(downloads_ / "song.mp3") << "old";
    std::ofstream(downloads_ / "taken.mp3") << "old";
    const fs::path chosen = dir_.Path() / "new";
    fs::create_directories(chosen);
    std::ofstream(chosen / "taken.mp3") << "new";
    prompter_.answer = true;
    core_.Report("incoming_directory", downloads_.string());
    SharingPrefs page = Open();
    page.Browse(chosen.string());
    ASSERT_TRUE(page.MoveRequested());
    const SharingSaveReport report = page.Save(core_);
    EXPECT_TRUE(fs::exists(chosen / "song.mp3"));
    EXPECT_FALSE(fs::exists(downloads_ / "song.mp3"));
    EXPECT_EQ(report.movedFrom, downloads_);
    EXPECT_EQ(report.move.leftBehind, (std::vector<fs::path>{downloads_ / "taken.mp3"}));
    EXPECT_EQ(core_.sent.front(), "option incoming_directory=" + chosen.string());
}

TEST_F(SharingPage, LastAnswerDecidesAndReturningToTheStoredFolderMovesNothing) {
    std::ofstream(downloads_ / "song.mp3") << "x";
    SharingPrefs page = Open();
    prompter_.answer = true;
    page.Browse((dir_.Path() / "a").string());
    prompter_.answer = false;
    page.Browse((dir_.Path() / "b").string());
    EXPECT_FALSE(page.MoveRequested());
    prompter_.answer = true;
    page.Browse((dir_.Path() / "c").string());
    page.Browse(downloads_.string());  // asks nothing, keeps the flag
    EXPECT_EQ(prompter_.asked.size(), 3u);
    EXPECT_TRUE(page.MoveRequested());
    page.Save(core_);
    EXPECT_TRUE(fs::exists(downloads_ / "song.mp3"));
    EXPECT_FALSE(settings_.values.contains("Path"));
}

TEST_F(SharingPage, EmptyListAndNoFoldersAtOpeningShareOnlyTheDownloadsFolder) {
    SharingPrefs page = Open();  // no downloads.ini at all
    EXPECT_TRUE(page.SharedFolders().empty());
    page.Save(core_);
    EXPECT_EQ(core_.sent, (Lines{"command unshare " + downloads_.string(),
                                 "command share 0 " + downloads_.string() + " incoming_files",
                                 "command reshare", "command shares"}));
}

TEST_F(SharingPage, AddRemoveAndTheirCommands) {
    WriteIni({"/srv/kept", "/srv/removed"});
    SharingPrefs page = Open();
    page.Add("/srv/twice");
    page.Add("/srv/twice");
    page.Add("");  // a cancelled picker
    page.Add(std::string(300, 'x'));
    page.Remove(-1);
    page.Remove(4);
    EXPECT_EQ(prompter_.informed,
              (std::vector<std::pair<std::string, std::string>>(
                  2, {"Please select a folder to remove.", "Remove Folder Error"})));
    page.Remove(1);
    EXPECT_EQ(page.SharedFolders(), (Lines{"/srv/kept", "/srv/twice", "/srv/twice"}));
    page.Save(core_);
    EXPECT_EQ(core_.sent,
              (Lines{"command unshare /srv/kept", "command unshare /srv/removed",
                     "command unshare " + downloads_.string(), "command share /srv/twice",
                     "command share /srv/twice", "command share /srv/kept",
                     "command share 0 " + downloads_.string() + " incoming_files",
                     "command reshare", "command shares"}));
}

TEST_F(SharingPage, FoldersWithSpacesGoOutQuoted) {
    WriteIni({"/srv/old music"});
    const fs::path chosen = dir_.Path() / "My Downloads";
    core_.Report("incoming_directory", downloads_.string());
    SharingPrefs page = Open();
    page.Browse(chosen.string());
    page.Add("/srv/new music");
    page.Add("/srv/bad \"'\\");
    const SharingSaveReport report = page.Save(core_);
    EXPECT_EQ(core_.sent,
              (Lines{"option incoming_directory=" + chosen.string(),
                     "command unshare \"/srv/old music\"", "command unshare " + downloads_.string(),
                     "command unshare \"" + chosen.string() + "\"",
                     "command share \"/srv/new music\"", "command share \"/srv/old music\"",
                     "command share 0 \"" + chosen.string() + "\" incoming_files",
                     "command reshare", "command shares"}));
    EXPECT_EQ(report.notSent, (Lines{"/srv/bad \"'\\"}));
}

// A real core has no incoming_directory option and answers it with an
// error; it is sent only to a core that reported it.
TEST_F(SharingPage, ACoreWithoutTheIncomingOptionIsNotSentIt) {
    SharingPrefs page = Open();
    page.Browse((dir_.Path() / "new").string());
    page.Save(core_);
    EXPECT_EQ(std::count_if(core_.sent.begin(), core_.sent.end(),
                            [](const std::string& line) { return line.starts_with("option"); }),
              0);
}

// A core started elsewhere keeps its downloads.ini elsewhere: what it lists
// is the truth. Its own folders and our downloads folder are not the user's.
TEST_F(SharingPage, OpensWithWhatTheCoreListsWithoutItsOwnFoldersOrOurs) {
    WriteIni({"/srv/only-in-our-file"});
    core_.shares = std::vector<CoreSharedFolder>{{downloads_.string() + "/", "only_directory", 0},
                                                 {"/srv/x", "only_directory", 0},
                                                 {"shared", "all_files", 0},
                                                 {"incoming/files", "incoming_files", 0},
                                                 {"/srv/y y", "only_directory", 2}};
    const SharingPrefs page = SharingPrefs::Open(settings_, prompter_, install_, &core_);
    EXPECT_EQ(page.SharedFolders(), (Lines{"/srv/x", "/srv/y y"}));
}

// A core that is not ours keeps no downloads.ini in our folder, and our
// downloads folder is a path on this computer, not on the core's.
TEST_F(SharingPage, RemoteCoreIsNeverToldOurDownloadsFolderNorListedFromOurFile) {
    WriteIni({"/srv/only-in-our-file"});
    settings_.values["CoreRemote"] = "true";
    core_.Report("incoming_directory", downloads_.string());
    SharingPrefs page = Open();
    EXPECT_TRUE(page.CoreIsRemote());
    EXPECT_TRUE(page.SharedFolders().empty());
    page.Browse((dir_.Path() / "new").string());
    page.Add("/srv/on the core");
    page.Save(core_);
    EXPECT_EQ(core_.sent,
              (Lines{"command share \"/srv/on the core\"", "command reshare", "command shares"}));
}

TEST_F(SharingPage, CoreOnAnotherHostIsRemoteAndListsWhatItReports) {
    settings_.values["CoreHost"] = "nas.lan";
    core_.shares = std::vector<CoreSharedFolder>{{"/srv/x", "only_directory", 0}};
    const SharingPrefs page = SharingPrefs::Open(settings_, prompter_, install_, &core_);
    EXPECT_TRUE(page.CoreIsRemote());
    EXPECT_EQ(page.SharedFolders(), (Lines{"/srv/x"}));
}

TEST_F(SharingPage, DownloadsFolderInTheFileIsNotListedAsAdditional) {
    WriteIni({downloads_.string(), "/srv/a"});
    EXPECT_EQ(Open().SharedFolders(), (Lines{"/srv/a"}));
}

// The core puts each shared folder at the top of its list; Save must leave
// the list in the page's order, so that the next opening shows the same.
TEST_F(SharingPage, OrderStaysTheSameOverSaves) {
    core_.shares = std::vector<CoreSharedFolder>{{"/srv/a", "only_directory", 0},
                                                 {"/srv/b", "only_directory", 0},
                                                 {"/srv/c", "only_directory", 0}};
    for (int round = 0; round < 2; ++round) {
        SharingPrefs page = SharingPrefs::Open(settings_, prompter_, install_, &core_);
        EXPECT_EQ(page.SharedFolders(), (Lines{"/srv/a", "/srv/b", "/srv/c"}));
        core_.sent.clear();
        page.Save(core_);
        std::vector<CoreSharedFolder> listed = *core_.shares;
        for (const std::string& line : core_.sent) {
            std::istringstream words(line);
            std::string kind, verb, folder;
            words >> kind >> verb >> folder;
            if (verb == "share" && folder == "0") {
                words >> folder;
            }
            std::erase_if(listed, [&](const CoreSharedFolder& f) {
                return verb == "unshare" && f.folder == folder;
            });
            if (verb == "share") {
                listed.insert(listed.begin(), {folder, "only_directory", 0});
            }
        }
        core_.shares = listed;
    }
}

TEST_F(SharingPage, BrowseRefusesAFolderTheCoreCannotBeToldOf) {
    SharingPrefs page = Open();
    page.Browse("/x/it's \"both\"");
    EXPECT_EQ(page.DownloadsFolder(), downloads_.string());
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_EQ(prompter_.informed, (std::vector<std::pair<std::string, std::string>>{
                                      {kUnnamableFolderText, kUnnamableFolderCaption}}));
}

TEST_F(SharingPage, CancelChangesNothing) {
    WriteIni({"/srv/a"});
    std::ofstream(downloads_ / "song.mp3") << "x";
    prompter_.answer = true;
    {
        SharingPrefs page = Open();
        page.Browse((dir_.Path() / "new").string());
        page.Add("/srv/b");
        page.Remove(0);
    }
    EXPECT_TRUE(core_.sent.empty());
    EXPECT_TRUE(settings_.values.empty());
    EXPECT_TRUE(fs::exists(downloads_ / "song.mp3"));
    const SharingPrefs reopened = Open();
    EXPECT_EQ(reopened.DownloadsFolder(), downloads_.string());
    EXPECT_EQ(reopened.SharedFolders(), (Lines{"/srv/a"}));
}

}  // namespace
}  // namespace korvana
