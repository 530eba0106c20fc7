#include "prefs/ui/CorePrefsPage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/qt/QtSettingsStore.h"
#include "tests/support/LoopbackPort.h"
#include "tests/support/SimHarness.h"
#include "tests/ui/UiWait.h"
#include "tests/ui/prefs/PrefsDialogFixture.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
constexpr char kSecret[] = "Zq7-page-secret";

class CorePage : public ::testing::Test {
  protected:
    CorePrefsPage& OpenCorePage() {
        fixture.Open();
        fixture.ClickPageItem(3);
        return fixture.Find<CorePrefsPage>("IDD_PREFS_CORE");
    }
    QString Text(const char* name) { return fixture.Find<QLineEdit>(name).text(); }
    QCheckBox& Remote() { return fixture.Find<QCheckBox>("IDC_CORE_REMOTE"); }
    QString TestNow(CorePrefsPage& page) {
        fixture.Click("IDC_CORE_TEST");
        EXPECT_TRUE(test::WaitUntil([&] { return !page.TestRunning(); }, 15000));
        return page.TestResult();
    }

    test::PrefsDialogFixture fixture;
};

TEST_F(CorePage, ShowsTheStoredCoreAndSaveStoresWhatIsTyped) {
    fixture.settings.values = {{"CoreHost", "127.0.0.1"},
                               {"CorePort", "4101"},
                               {"CoreUser", "korvana"},
                               {"CorePassword", "old"}};
    CorePrefsPage& page = OpenCorePage();
    EXPECT_EQ(fixture.dialog->VisiblePage(), 3);
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(Text("IDC_CORE_HOST"), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(Text("IDC_CORE_PORT"), QStringLiteral("4101"));
    EXPECT_EQ(Text("IDC_CORE_USER"), QStringLiteral("korvana"));
    EXPECT_EQ(fixture.Find<QLineEdit>("IDC_CORE_PASSWORD").echoMode(), QLineEdit::Password);
    fixture.Type("IDC_CORE_HOST", QStringLiteral("nas.lan"));
    fixture.Type("IDC_CORE_PORT", QStringLiteral("4201"));
    fixture.Type("IDC_CORE_PASSWORD", QString::fromLatin1(kSecret));
    fixture.Click("IDC_PREFS_SAVE");
    ASSERT_EQ(fixture.dialog->result(), QDialog::Accepted);
    const CoreSettings stored = ReadCoreSettings(fixture.settings);
    EXPECT_EQ(stored.host, "nas.lan");
    EXPECT_EQ(stored.port, 4201);
    EXPECT_EQ(stored.credentials.user, "korvana");
    EXPECT_EQ(stored.credentials.password, kSecret);
}

TEST_F(CorePage, UnusablePortKeepsTheDialogOpenAndStoresNothing) {
    OpenCorePage();
    fixture.Type("IDC_CORE_PORT", QStringLiteral("70000"));
    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_TRUE(fixture.dialog->isVisible());
    EXPECT_EQ(fixture.prompter.informed.size(), 1u);
    EXPECT_FALSE(fixture.settings.Read("CorePort").has_value());
    EXPECT_TRUE(fixture.core.sent.empty());
}

// A core on another computer is never ours: the choice is forced on; with a
// host on this computer the user's own choice comes back.
TEST_F(CorePage, RemoteChoiceFollowsTheHost) {
    OpenCorePage();
    EXPECT_FALSE(Remote().isChecked());
    EXPECT_TRUE(Remote().isEnabled());
    fixture.Type("IDC_CORE_HOST", QStringLiteral("nas.lan"));
    EXPECT_TRUE(Remote().isChecked());
    EXPECT_FALSE(Remote().isEnabled());
    fixture.Type("IDC_CORE_HOST", QStringLiteral("localhost"));
    EXPECT_FALSE(Remote().isChecked());
    Remote().click();
    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_EQ(fixture.settings.Read("CoreRemote"), "true");
}

TEST_F(CorePage, TestConnectionSaysPlainlyWhatHappened) {
    sim::test::SimProcess sim(fixture.dir.Path() / "sim");
    ASSERT_NE(sim.Port(), 0);
    CorePrefsPage& page = OpenCorePage();
    fixture.Type("IDC_CORE_HOST", QStringLiteral("127.0.0.1"));
    fixture.Type("IDC_CORE_PORT", QString::number(sim.Port()));
    EXPECT_TRUE(TestNow(page).startsWith(QStringLiteral("Connected")));
    fixture.Type("IDC_CORE_PASSWORD", QStringLiteral("wrong"));
    EXPECT_TRUE(TestNow(page).startsWith(QStringLiteral("Wrong user name or password")));
    fixture.Type("IDC_CORE_PORT", QString::number(test::UnusedLoopbackPort()));
    EXPECT_TRUE(TestNow(page).startsWith(QStringLiteral("Connection refused")));
    // Nothing is stored by a test.
    EXPECT_FALSE(fixture.settings.Read("CorePort").has_value());
}

// The settings file holds the password: it is readable by its owner alone,
// from before the password is in it, and stays so when it is saved again.
TEST(CoreSettingsFile, HoldsThePasswordWithOwnerOnlyPermissions) {
    test::TempDir config;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path().string()));
    const fs::path file = config.Path() / "Korvana" / "Korvana.ini";
    {
        QtSettingsStore settings;
        settings.Write("WindowGeometry", "abc");
        CoreSettings core;
        core.credentials.password = kSecret;
        ASSERT_EQ(WriteCoreSettings(settings, core), CoreSettingsSaved::Saved);
        struct stat info {};
        ASSERT_EQ(stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        settings.Write("WindowGeometry", "def");
        ASSERT_EQ(stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    QtSettingsStore reopened;
    EXPECT_EQ(ReadCoreSettings(reopened).credentials.password, kSecret);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

}  // namespace
}  // namespace korvana
