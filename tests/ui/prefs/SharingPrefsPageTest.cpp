#include <gtest/gtest.h>

#include <QTableView>

#include "tests/ui/prefs/PrefsDialogFixture.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::Lines;

const std::pair<std::string, std::string> kMoveQuestion{
    "Do you want to move your downloads to the new location?", "Move files?"};

// The commands after the twenty options.
// What Save sent about folders: the console commands and the one option
// that names a folder; the other options belong to the other pages.
Lines SharingCommands(const Lines& sent) {
    Lines sharing;
    for (const std::string& line : sent) {
        if (line.starts_with("command ") || line.starts_with("option incoming_directory=")) {
            sharing.push_back(line);
        }
    }
    return sharing;
}

QStringList Rows(const QTableView& list) {
    QStringList rows;
    for (int row = 0; row < list.model()->rowCount(); ++row) {
        rows << list.model()->index(row, 0).data().toString();
    }
    return rows;
}

class SharingPageDialog : public ::testing::Test, public test::PrefsDialogFixture {
  protected:
    void OpenOnSharing() {
        Open();
        ClickPageItem(2);
    }
    QTableView& List() { return Find<QTableView>("IDC_SHARED_FOLDERS"); }
    void SelectRow(int row) {
        QTableView& list = List();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(list.model()->index(row, 0)).center());
    }
    fs::path moved = dir.Path() / "Moved";
};

TEST_F(SharingPageDialog, ShowsTheDownloadsFolderAndTheCoresFolders) {
    WriteDownloadsIni({"/srv/music", "/srv/more"});
    OpenOnSharing();
    QLineEdit& folder = Find<QLineEdit>("IDC_DOWNLOADS_FOLDER");
    EXPECT_EQ(folder.text().toStdString(), downloads.string());
    EXPECT_TRUE(folder.isReadOnly());
    EXPECT_EQ(Rows(List()), (QStringList{"/srv/music", "/srv/more"}));
    EXPECT_EQ(List().model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Folder"));
}

TEST_F(SharingPageDialog, BrowseAnsweredYesMovesTheDownloadsOnSave) {
    std::ofstream(downloads / "song.mp3") << "tune";
    core.Report("incoming_directory", downloads.string());
    OpenOnSharing();
    prompter.answer = true;
    picks.push_back(moved.string());
    Click("IDC_BROWSE");
    EXPECT_EQ(prompter.asked, (std::vector{kMoveQuestion}));
    EXPECT_EQ(Find<QLineEdit>("IDC_DOWNLOADS_FOLDER").text().toStdString(), moved.string());
    EXPECT_FALSE(fs::exists(moved / "song.mp3"));  // nothing happens before Save

    Click("IDC_PREFS_SAVE");
    EXPECT_TRUE(fs::exists(moved / "song.mp3"));
    EXPECT_FALSE(fs::exists(downloads / "song.mp3"));
    EXPECT_EQ(settings.values["Path"], moved.string());
    EXPECT_EQ(SharingCommands(core.sent),
              (Lines{"option incoming_directory=" + moved.string(),
                     "command unshare " + downloads.string(), "command unshare " + moved.string(),
                     "command share 0 " + moved.string() + " incoming_files", "command reshare",
                     "command shares", "command save"}));
}

TEST_F(SharingPageDialog, BrowseAnsweredNoKeepsTheFilesWhereTheyAre) {
    std::ofstream(downloads / "song.mp3") << "tune";
    OpenOnSharing();
    prompter.answer = false;
    picks.push_back(moved.string());
    Click("IDC_BROWSE");
    Click("IDC_PREFS_SAVE");
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_TRUE(fs::exists(downloads / "song.mp3"));
    EXPECT_FALSE(fs::exists(moved / "song.mp3"));
    EXPECT_TRUE(fs::is_directory(moved));
    EXPECT_EQ(settings.values["Path"], moved.string());
}

TEST_F(SharingPageDialog, CancelledPickerAndCancelChangeNothing) {
    std::ofstream(downloads / "song.mp3") << "tune";
    OpenOnSharing();
    Click("IDC_BROWSE");
    Click("IDC_ADD_FOLDER");
    EXPECT_EQ(pickerRuns, 2);
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(Find<QLineEdit>("IDC_DOWNLOADS_FOLDER").text().toStdString(), downloads.string());
    EXPECT_EQ(List().model()->rowCount(), 0);

    prompter.answer = true;
    picks.push_back(moved.string());
    Click("IDC_BROWSE");
    Click("IDCANCEL");
    EXPECT_TRUE(core.sent.empty());
    EXPECT_FALSE(settings.values.contains("Path"));
    EXPECT_TRUE(fs::exists(downloads / "song.mp3"));
}

TEST_F(SharingPageDialog, RemoveNeedsASelectedRow) {
    WriteDownloadsIni({"/srv/a", "/srv/b"});
    OpenOnSharing();
    Click("IDC_REMOVE_FOLDER");
    EXPECT_EQ(prompter.informed,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Please select a folder to remove.", "Remove Folder Error"}}));
    EXPECT_EQ(Rows(List()), (QStringList{"/srv/a", "/srv/b"}));

    SelectRow(0);
    Click("IDC_REMOVE_FOLDER");
    EXPECT_EQ(Rows(List()), (QStringList{"/srv/b"}));
    EXPECT_EQ(prompter.informed.size(), 1u);
    Click("IDC_REMOVE_FOLDER");  // the removed row's selection went with it
    EXPECT_EQ(prompter.informed.size(), 2u);
}

TEST_F(SharingPageDialog, SaveUnsharesTheOpeningFoldersAndSharesTheRows) {
    WriteDownloadsIni({"/srv/a", "/srv/b"});
    OpenOnSharing();
    SelectRow(0);
    Click("IDC_REMOVE_FOLDER");
    picks = {"/srv/new", "/srv/new", "/srv/with space"};
    Click("IDC_ADD_FOLDER");
    Click("IDC_ADD_FOLDER");
    Click("IDC_ADD_FOLDER");
    EXPECT_EQ(Rows(List()), (QStringList{"/srv/b", "/srv/new", "/srv/new", "/srv/with space"}));
    Click("IDC_PREFS_SAVE");
    EXPECT_EQ(SharingCommands(core.sent),
              (Lines{"command unshare /srv/a", "command unshare /srv/b",
                     "command unshare " + downloads.string(), "command share \"/srv/with space\"",
                     "command share /srv/new", "command share /srv/new", "command share /srv/b",
                     "command share 0 " + downloads.string() + " incoming_files", "command reshare",
                     "command shares", "command save"}));
}

}  // namespace
}  // namespace korvana
