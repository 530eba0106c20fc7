#include <gtest/gtest.h>

#include <QFont>
#include <QStackedWidget>

#include "prefs/ui/DialogUnits.h"
#include "tests/ui/prefs/PrefsDialogFixture.h"

namespace korvana {
namespace {

using test::Lines;

// With nothing reported by the core and nothing typed, after the limits.
const Lines kDefaultNetworkOptions{
    "option enable_gnutella=false",
    "option enable_gnutella2=false",
    "option enable_donkey=false",
    "option enable_fasttrack=false",
    "option enable_overnet=false",
    "option enable_directconnect=false",
    "option enable_soulseek=false",
    "option enable_opennap=false",
    "option GNUT-client_port=6346",
    "option G2-client_port=6347",
    "option port=4662",
    "option FT-client_port=1214",
    "option overnet_port=9191",
    "option DC-client_port=4444",
    "option SLSK-client_port=2234",
    "option OpenNap-client_port=6699",
};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

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

TEST(PreferencesDialog, OpensOnTheGeneralPageWithThreeImagedItems) {
    test::PrefsDialogFixture fixture;
    PreferencesDialog& dialog = fixture.Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Korvana MP3 Finder Preferences"));
    EXPECT_TRUE(dialog.isModal());
    QListWidget& list = fixture.Find<QListWidget>("IDC_PREFS_LIST");
    ASSERT_EQ(list.count(), 3);
    const QStringList names{"General", "Networks", "Sharing"};
    for (int i = 0; i < 3; ++i) {
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
    fixture.core.Report("enable_overnet", "tRuE");
    fixture.core.Report("enable_donkey", "yes");
    fixture.core.Report("port", "");
    fixture.core.Report("GNUT-client_port", "7000");
    fixture.Open();
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_HARD_DOWNLOAD_RATE").text(), "50");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS").text(), "3");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_CONCURRENT_DOWNLOADS").text(), "");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_GNUTELLA").currentText(), "TRUE");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_OVERNET").currentText(), "TRUE");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_DONKEY").currentText(), "FALSE");
    EXPECT_EQ(fixture.Find<QComboBox>("IDC_ENABLE_OPENNAP").currentText(), "FALSE");
    QComboBox& soulseek = fixture.Find<QComboBox>("IDC_ENABLE_SOULSEEK");
    ASSERT_EQ(soulseek.count(), 2);
    EXPECT_EQ(soulseek.itemText(0), "TRUE");
    EXPECT_EQ(soulseek.itemText(1), "FALSE");
    EXPECT_FALSE(soulseek.isEditable());
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_DONKEY").text(), "4662");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_GNUTELLA").text(), "7000");
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_PORT_OPENNAP").text(), "6699");
}

TEST(PreferencesDialog, SaveSendsEverySettingInOrderThenSave) {
    test::PrefsDialogFixture fixture;
    fixture.core.Report("max_hard_upload_rate", "20");
    fixture.core.Report("enable_gnutella", "True");
    fixture.core.Report("enable_donkey", "yes");
    PreferencesDialog& dialog = fixture.Open();
    fixture.Type("IDC_MAX_UPLOAD_SLOTS", " 12 ");
    fixture.Type("IDC_MAX_CONCURRENT_DOWNLOADS", "many");
    fixture.ClickPageItem(1);
    QComboBox& donkey = fixture.Find<QComboBox>("IDC_ENABLE_DONKEY");
    donkey.setFocus();
    QTest::keyClick(&donkey, Qt::Key_Up);
    fixture.Type("IDC_PORT_FASTTRACK", "abc");
    fixture.Type("IDC_PORT_OVERNET", "");
    ASSERT_TRUE(fixture.core.sent.empty());
    fixture.Click("IDC_PREFS_SAVE");

    Lines networks = kDefaultNetworkOptions;
    networks[0] = "option enable_gnutella=true";
    networks[2] = "option enable_donkey=true";
    networks[11] = "option FT-client_port=abc";
    networks[12] = "option overnet_port=";
    EXPECT_EQ(fixture.core.sent,
              Join({{"option max_hard_download_rate=", "option max_hard_upload_rate=20",
                     "option max_upload_slots= 12 ", "option max_concurrent_downloads=many"},
                    networks,
                    {"command unshare " + fixture.downloads.string(),
                     "command share 0 " + fixture.downloads.string() + " incoming_files",
                     "command reshare", "command shares", "command save"}}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(fixture.prompter.informed.empty());
}

TEST(PreferencesDialog, UntouchedBoxesSendTheCoresOwnBytes) {
    test::PrefsDialogFixture fixture;
    fixture.core.Report("max_upload_slots", "caf\xE9");  // Latin-1, not UTF-8
    fixture.core.Report("port", "4662\xA0");
    fixture.Open();
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_MAX_UPLOAD_SLOTS").text(), QStringLiteral("caf\u00E9"));
    fixture.Find<QLineEdit>("IDC_MAX_CONCURRENT_DOWNLOADS").setText(QStringLiteral("\u00E9"));
    fixture.Click("IDC_PREFS_SAVE");
    const Lines& sent = fixture.core.sent;
    ASSERT_GE(sent.size(), 20u);
    EXPECT_EQ(sent[2], "option max_upload_slots=caf\xE9");
    EXPECT_EQ(sent[3], "option max_concurrent_downloads=\xC3\xA9");  // typed: UTF-8
    EXPECT_EQ(sent[14], "option port=4662\xA0");
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

TEST(PreferencesDialog, EnterPressesOnlyTheFocusedButton) {
    test::PrefsDialogFixture fixture;
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
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("IDC_ENABLE_GNUTELLA"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_PORT_GNUTELLA"));
    EXPECT_EQ(tabFrom(), QStringLiteral("IDC_ENABLE_GNUTELLA2"));
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
