#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QStackedWidget>

#include "prefs/ui/DialogUnits.h"
#include "services/DownloadNotices.h"
#include "tests/ui/prefs/PrefsDialogFixture.h"

namespace korvana {
namespace {

using test::Lines;

TEST(DialogUnits, ScaleEdgesFromTheFontsBaseUnits) {
    const DialogUnits classic(6, 13);  // the 8-point dialog font of old
    EXPECT_EQ(classic.X(4), 6);
    EXPECT_EQ(classic.Y(8), 13);
    EXPECT_EQ(classic.X(7), 11);  // 10.5 rounds away from zero
    EXPECT_EQ(classic.Rect(kPageList), QRect(11, 11, 78, 403));
    EXPECT_EQ(classic.Rect(kSaveButton), QRect(252, 384, 77, 30));
    // Controls that touch in dialog units touch in pixels.
    EXPECT_EQ(classic.Rect(kPageList).right() + 1, classic.Rect(kPageHost).left());

    QFont large = QFont();
    large.setPixelSize(24);
    const DialogUnits measured = DialogUnits::ForFont(large);
    EXPECT_GT(measured.Y(8), DialogUnits::ForFont(QFont()).Y(8));
    EXPECT_EQ(measured.Y(8), QFontMetrics(large).height());
}

TEST(PreferencesDialog, OpensOnTheGeneralPageWithItsImagedItems) {
    test::PrefsDialogFixture fixture;
    PreferencesDialog& dialog = fixture.Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Korvana MP3 Finder Preferences"));
    EXPECT_TRUE(dialog.isModal());
    QListWidget& list = fixture.Find<QListWidget>("IDC_PREFS_LIST");
    const QStringList names{"General", "Networks", "Sharing", "Core", "Web engines"};
    ASSERT_EQ(list.count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(list.item(i)->text(), names[i]);
        EXPECT_FALSE(list.item(i)->icon().pixmap(32, 32).toImage().isNull());
    }
    EXPECT_TRUE(list.selectedItems().isEmpty());
    EXPECT_EQ(dialog.VisiblePage(), 0);
    EXPECT_TRUE(fixture.Find<QWidget>("IDD_PREFS_GENERAL").isVisible());
    EXPECT_FALSE(fixture.Find<QWidget>("IDD_PREFS_NETWORKS").isVisible());
    const DialogUnits units = DialogUnits::ForFont(dialog.font());
    EXPECT_EQ(list.geometry(), units.Rect(kPageList));
    EXPECT_EQ(fixture.Find<QPushButton>("IDCANCEL").geometry(), units.Rect(kCancelButton));
    EXPECT_EQ(fixture.Find<QPushButton>("IDC_PREFS_SAVE").text(), QStringLiteral("&Save"));
}

TEST(PreferencesDialog, FillsFromTheCoresOptions) {
    test::PrefsDialogFixture fixture;
    fixture.core.Report("max_hard_download_rate", "50");
    fixture.core.Report("MAX_UPLOAD_SLOTS", "3");
    fixture.core.Report("enable_gnutella", "TRUE");
    fixture.core.Report("GNUT-client_port", "7000");
    fixture.core.Report("enable_overnet", "tRuE");
    fixture.core.Report("enable_donkey", "yes");
    fixture.core.Report("ED2K-port", "4662");
    fixture.Open();
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_HARD_DOWNLOAD_RATE").text(), "50");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS").text(), "3");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_CONCURRENT_DOWNLOADS").text(), "");
    EXPECT_FALSE(fixture.Find<QLineEdit>("IDC_MAX_CONCURRENT_DOWNLOADS").isEnabled());
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_GNUTELLA").currentText(), "TRUE");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_OVERNET").currentText(), "TRUE");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_DONKEY").currentText(), "FALSE");
    QComboBox& soulseek = fixture.Find<QComboBox>("IDC_ENABLE_SOULSEEK");
    ASSERT_EQ(soulseek.count(), 2);
    EXPECT_EQ(soulseek.itemText(0), "TRUE");
    EXPECT_EQ(soulseek.itemText(1), "FALSE");
    EXPECT_FALSE(soulseek.isEditable());
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_DONKEY").text(), "4662");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_GNUTELLA").text(), "7000");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_OPENNAP").text(), "");
}

TEST(PreferencesDialog, BeforeTheCoreReportsAnythingItsFieldsAreOffAndSaveSendsNoOption) {
    test::PrefsDialogFixture fixture;
    PreferencesDialog& dialog = fixture.Open();
    for (const char* name : {"IDC_MAX_CONCURRENT_DOWNLOADS", "IDC_MAX_UPLOAD_SLOTS",
                             "IDC_MAX_HARD_DOWNLOAD_RATE", "IDC_PORT_DONKEY"}) {
        EXPECT_FALSE(fixture.Find<QLineEdit>(name).isEnabled()) << name;
    }
    EXPECT_FALSE(fixture.Find<QComboBox>("IDC_ENABLE_DONKEY").isEnabled());
    const QList<QLabel*> notes = dialog.findChildren<QLabel*>("IDC_CORE_NOT_CONNECTED");
    ASSERT_EQ(notes.size(), 2);  // General and Networks
    EXPECT_EQ(notes[0]->text(), "The P2P core is not connected.");
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](QLabel* note) {
        return note->isVisible();  // on the page shown first
    }));

    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_EQ(fixture.core.sent,
              (Lines{"command unshare " + fixture.downloads.string(),
                     "command share 0 " + fixture.downloads.string() + " incoming_files",
                     "command reshare", "command shares", "command save"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(PreferencesDialog, ARealCoresMissingNetworksAreOffAndNeverSent) {
    test::PrefsDialogFixture fixture;
    fixture.ReportRealCore();
    PreferencesDialog& dialog = fixture.Open();
    EXPECT_TRUE(dialog.findChildren<QLabel*>("IDC_CORE_NOT_CONNECTED").isEmpty());
    for (const char* name : {"IDC_ENABLE_GNUTELLA", "IDC_ENABLE_GNUTELLA2", "IDC_ENABLE_SOULSEEK",
                             "IDC_ENABLE_OPENNAP"}) {
        EXPECT_FALSE(fixture.Find<QComboBox>(name).isEnabled()) << name;
    }
    EXPECT_TRUE(fixture.Find<QComboBox>("IDC_ENABLE_OVERNET").isEnabled());
    EXPECT_FALSE(fixture.Find<QLineEdit>("IDC_PORT_OVERNET").isEnabled());
    EXPECT_TRUE(fixture.Find<QLineEdit>("IDC_PORT_DONKEY").isEnabled());
    QStringList notes;
    for (const QLabel* label :
         fixture.Find<QWidget>("IDD_PREFS_NETWORKS").findChildren<QLabel*>()) {
        notes << label->text();
    }
    EXPECT_EQ(notes.count("not in this core"), 4);
    EXPECT_EQ(notes.count("no port option"), 1);

    fixture.ClickPageItem(1);
    fixture.Type("IDC_PORT_DONKEY", "4700");
    fixture.Click("IDC_PREFS_SAVE");
    const Lines& sent = fixture.core.sent;
    EXPECT_NE(std::find(sent.begin(), sent.end(), "option ED2K-port=4700"), sent.end());
    for (const std::string& line : sent) {
        for (const char* missing : {"option port=", "GNUT-client_port", "G2-client_port",
                                    "overnet_port", "SLSK-client_port", "OpenNap-client_port",
                                    "enable_gnutella", "enable_soulseek", "enable_opennap"}) {
            EXPECT_EQ(line.find(missing), std::string::npos) << line;
        }
    }
}

TEST(PreferencesDialog, SaveSendsTheReportedSettingsInOrderThenSave) {
    test::PrefsDialogFixture fixture;
    fixture.ReportRealCore();
    PreferencesDialog& dialog = fixture.Open();
    fixture.Type("IDC_MAX_UPLOAD_SLOTS", "12");
    fixture.ClickPageItem(1);
    QComboBox& fasttrack = fixture.Find<QComboBox>("IDC_ENABLE_FASTTRACK");
    fasttrack.setFocus();
    QTest::keyClick(&fasttrack, Qt::Key_Up);
    fixture.Type("IDC_PORT_FASTTRACK", "1300");
    ASSERT_TRUE(fixture.core.sent.empty());
    fixture.Click("IDC_PREFS_SAVE");

    EXPECT_EQ(fixture.core.sent,
              (Lines{"option max_hard_download_rate=50", "option max_hard_upload_rate=7",
                     "option max_upload_slots=12", "option max_concurrent_downloads=60",
                     "option enable_donkey=true", "option enable_fasttrack=true",
                     "option enable_overnet=true", "option enable_directconnect=false",
                     "option ED2K-port=4662", "option FT-client_port=1300",
                     "option DC-client_port=4444", "command unshare " + fixture.downloads.string(),
                     "command share 0 " + fixture.downloads.string() + " incoming_files",
                     "command reshare", "command shares", "command save"}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(fixture.prompter.informed.empty());
}

TEST(PreferencesDialog, NumberBoxesTakeOnlyDigitsAndSaveRefusesWhatIsOutOfRange) {
    test::PrefsDialogFixture fixture;
    fixture.ReportRealCore();
    PreferencesDialog& dialog = fixture.Open();
    fixture.Type("IDC_MAX_CONCURRENT_DOWNLOADS", "abc-5 7");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_CONCURRENT_DOWNLOADS").text(), "57");
    fixture.Type("IDC_MAX_UPLOAD_SLOTS", "");
    fixture.Type("IDC_MAX_HARD_UPLOAD_RATE", "99999999999");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_HARD_UPLOAD_RATE").text(), "9999999999");
    fixture.Click("IDC_PREFS_SAVE");

    EXPECT_TRUE(fixture.core.sent.empty());
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(fixture.prompter.informed.size(), 1u);
    EXPECT_EQ(fixture.prompter.informed[0].first,
              "Nothing was saved. Please correct these settings:\n"
              "Maximum simultaneous uploads: a whole number from 3 to 10000\n"
              "Limit P2P upload bandwidth to: a whole number from 0 to 1000000");

    fixture.Type("IDC_MAX_UPLOAD_SLOTS", "4");
    fixture.Type("IDC_MAX_HARD_UPLOAD_RATE", "0");
    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fixture.core.sent[1], "option max_hard_upload_rate=0");
    EXPECT_EQ(fixture.core.sent[3], "option max_concurrent_downloads=57");
}

TEST(PreferencesDialog, CancelEscapeAndEnterInABoxSendNothing) {
    test::PrefsDialogFixture fixture;
    fixture.core.Report("max_upload_slots", "3");
    PreferencesDialog& dialog = fixture.Open();
    fixture.Type("IDC_MAX_UPLOAD_SLOTS", "9");
    QTest::keyClick(&fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS"), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    fixture.Click("IDCANCEL");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());

    // Reopened, it shows the core's value again, not the edit.
    PreferencesDialog& reopened = fixture.Open();
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS").text(), "3");
    QTest::keyClick(&fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS"), Qt::Key_Escape);
    EXPECT_EQ(reopened.result(), QDialog::Rejected);
    EXPECT_FALSE(reopened.isVisible());
    EXPECT_TRUE(fixture.core.sent.empty());
}

TEST(PreferencesDialog, TheDownloadNoticesChoiceIsKeptOnlyBySave) {
    test::PrefsDialogFixture fixture;
    fixture.settings.Write(kDownloadNoticesKey, "0");
    fixture.Open();
    QCheckBox& notices = fixture.Find<QCheckBox>("IDC_DOWNLOAD_NOTICES");
    EXPECT_FALSE(notices.isChecked());
    QTest::mouseClick(&notices, Qt::LeftButton, {}, QPoint(6, notices.height() / 2));
    ASSERT_TRUE(notices.isChecked());
    fixture.Click("IDCANCEL");
    EXPECT_FALSE(ReadDownloadNoticesChoice(fixture.settings));

    fixture.Open();
    QCheckBox& again = fixture.Find<QCheckBox>("IDC_DOWNLOAD_NOTICES");
    EXPECT_FALSE(again.isChecked());
    QTest::mouseClick(&again, Qt::LeftButton, {}, QPoint(6, again.height() / 2));
    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_TRUE(ReadDownloadNoticesChoice(fixture.settings));
}

TEST(PreferencesDialog, EnterPressesOnlyTheFocusedButton) {
    test::PrefsDialogFixture fixture;
    fixture.ReportRealCore();
    PreferencesDialog& dialog = fixture.Open();
    fixture.ClickPageItem(2);
    for (const char* name : {"IDC_BROWSE", "IDC_ADD_FOLDER", "IDC_PREFS_SAVE", "IDCANCEL"}) {
        EXPECT_FALSE(fixture.Find<QPushButton>(name).isDefault()) << name;
    }
    QLineEdit& folder = fixture.Find<QLineEdit>("IDC_DOWNLOADS_FOLDER");
    folder.setFocus();
    QTest::keyClick(&folder, Qt::Key_Return);
    EXPECT_EQ(fixture.pickerRuns, 0);
    EXPECT_TRUE(dialog.isVisible());

    QPushButton& browse = fixture.Find<QPushButton>("IDC_BROWSE");
    browse.setFocus();
    QTest::keyClick(&browse, Qt::Key_Return);
    EXPECT_EQ(fixture.pickerRuns, 1);
    EXPECT_TRUE(fixture.core.sent.empty());

    QPushButton& save = fixture.Find<QPushButton>("IDC_PREFS_SAVE");
    save.setFocus();
    QTest::keyClick(&save, Qt::Key_Enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_FALSE(fixture.core.sent.empty());
    EXPECT_EQ(fixture.core.sent.back(), "command save");
}

TEST(PreferencesDialog, TabRunsFromTheListThroughThePageToTheButtons) {
    test::PrefsDialogFixture fixture;
    fixture.ReportRealCore();
    fixture.Open();
    const auto tabFrom = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget()->objectName();
    };
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("IDC_PREFS_LIST"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_MAX_CONCURRENT_DOWNLOADS"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_MAX_UPLOAD_SLOTS"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_MAX_HARD_DOWNLOAD_RATE"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_MAX_HARD_UPLOAD_RATE"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_PREFS_SAVE"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDCANCEL"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_PREFS_LIST"));

    fixture.ClickPageItem(1);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("IDC_ENABLE_DONKEY"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_PORT_DONKEY"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_ENABLE_FASTTRACK"));
}

TEST(PreferencesDialog, OnlyAClickOnAnotherItemSwitchesPages) {
    test::PrefsDialogFixture fixture;
    PreferencesDialog& dialog = fixture.Open();
    auto& host = fixture.Find<QStackedWidget>("IDC_PREFS_PAGE_HOST");
    fixture.ClickPageItem(2);
    EXPECT_EQ(dialog.VisiblePage(), 2);
    EXPECT_EQ(host.currentWidget()->objectName(), QStringLiteral("IDD_PREFS_SHARING"));
    EXPECT_TRUE(fixture.Find<QWidget>("IDD_PREFS_SHARING").isVisible());
    EXPECT_FALSE(fixture.Find<QWidget>("IDD_PREFS_GENERAL").isVisible());

    QListWidget& list = fixture.Find<QListWidget>("IDC_PREFS_LIST");
    const QRect last = list.visualItemRect(list.item(2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(last.center().x(), list.viewport()->height() - 2));
    EXPECT_EQ(dialog.VisiblePage(), 2);

    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Up);
    QTest::keyClick(&list, Qt::Key_Up);
    EXPECT_EQ(dialog.VisiblePage(), 2);

    fixture.ClickPageItem(1);
    EXPECT_EQ(dialog.VisiblePage(), 1);
    EXPECT_TRUE(
        fixture.Find<QWidget>("IDD_PREFS_NETWORKS").isAncestorOf(QApplication::focusWidget()));
    fixture.ClickPageItem(1);
    EXPECT_EQ(dialog.VisiblePage(), 1);
}

}  // namespace
}  // namespace korvana
