#include "prefs/ConsoleArgument.h"
#include "prefs/DownloadsIni.h"
#include "prefs/SharingPrefs.h"
#include "tests/prefs/PrefsFakes.h"
#include "tests/support/MemorySettings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

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
    EXPECT_EQ(core_.sent, (Lines{"command unshare /srv/a", "command share " + downloads_.string(),
                                 "command share /srv/a", "command reshare"}));
}

TEST_F(SharingPage, NewFolderAnsweredNoMovesNothing) {
    std::ofstream(downloads_ / "song.mp3") << "x";
    const fs::path chosen = dir_.Path() / "deep" / "new";
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
    EXPECT_EQ(core_.sent, (Lines{"option incoming_directory=" + chosen.string(),
                                 "command share " + chosen.string(), "command reshare"}));
}

TEST_F(SharingPage, NewFolderAnsweredYesMovesAndKeepsConflicts) {
    std::ofstream(downloads_ / "song.mp3") << "old";
    std::ofstream(downloads_ / "taken.mp3") << "old";
    const fs::path chosen = dir_.Path() / "new";
    fs::create_directories(chosen);
    std::ofstream(chosen / "taken.mp3") << "new";
    prompter_.answer = true;
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
    EXPECT_EQ(core_.sent, (Lines{"command share " + downloads_.string(), "command reshare"}));
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
                     "command share " + downloads_.string(), "command share /srv/kept",
                     "command share /srv/twice", "command share /srv/twice", "command reshare"}));
}

TEST_F(SharingPage, FoldersWithSpacesGoOutQuoted) {
    WriteIni({"/srv/old music"});
    const fs::path chosen = dir_.Path() / "My Downloads";
    SharingPrefs page = Open();
    page.Browse(chosen.string());
    page.Add("/srv/new music");
    page.Add("/srv/bad \"'\\");
    const SharingSaveReport report = page.Save(core_);
    EXPECT_EQ(
        core_.sent,
        (Lines{"option incoming_directory=" + chosen.string(), "command unshare \"/srv/old music\"",
               "command share \"" + chosen.string() + "\"", "command share \"/srv/old music\"",
               "command share \"/srv/new music\"", "command reshare"}));
    EXPECT_EQ(report.notSent, (Lines{"/srv/bad \"'\\"}));
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
