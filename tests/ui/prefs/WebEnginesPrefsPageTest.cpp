#include "prefs/ui/WebEnginesPrefsPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "tests/ui/prefs/PrefsDialogFixture.h"

namespace korvana {
namespace {

class WebEnginesPage : public ::testing::Test {
  protected:
    void Open() {
        fixture.Open();
        fixture.ClickPageItem(4);
    }
    QCheckBox& Switch(int engine) {
        return fixture.Find<QCheckBox>(("IDC_ENGINE_ON_" + std::to_string(engine)).c_str());
    }
    std::string Url(int engine) { return "IDC_ENGINE_URL_" + std::to_string(engine); }

    test::PrefsDialogFixture fixture;
};

TEST_F(WebEnginesPage, ShowsEveryEngineAndSaveStoresWhatIsChosen) {
    fixture.settings.values = {{"Engine2Enabled", "0"}, {"ArchiveUrl", "http://127.0.0.1:4200"}};
    Open();
    EXPECT_EQ(fixture.dialog->VisiblePage(), 4);
    EXPECT_EQ(Switch(4).text(), QStringLiteral("Internet Archive"));
    EXPECT_FALSE(Switch(2).isChecked());
    EXPECT_FALSE(fixture.Find<QLineEdit>(Url(2).c_str()).isEnabled());
    EXPECT_EQ(fixture.Find<QLineEdit>(Url(4).c_str()).text(),
              QStringLiteral("http://127.0.0.1:4200"));

    Switch(2).click();
    Switch(1).click();
    fixture.Type(Url(4).c_str(), QStringLiteral(" https://archive.org/ "));
    fixture.Click("IDC_PREFS_SAVE");

    ASSERT_EQ(fixture.dialog->result(), QDialog::Accepted);
    const EngineUrls urls = ReadEngineUrls(fixture.settings);
    EXPECT_EQ(urls.engine1, "");
    EXPECT_EQ(urls.engine2, "http://127.0.0.1:4100");
    EXPECT_EQ(urls.archive, "https://archive.org");
}

TEST_F(WebEnginesPage, AnUnusableAddressKeepsTheDialogOpenAndStoresNothing) {
    Open();
    fixture.Type(Url(3).c_str(), QStringLiteral("archive.org"));
    fixture.Click("IDC_PREFS_SAVE");
    EXPECT_TRUE(fixture.dialog->isVisible());
    ASSERT_EQ(fixture.prompter.informed.size(), 1u);
    EXPECT_NE(fixture.prompter.informed[0].first.find("Web engine 3"), std::string::npos);
    EXPECT_EQ(fixture.prompter.informed[0].second, "Web engines");
    EXPECT_FALSE(fixture.settings.Read("Engine3Url").has_value());
    EXPECT_TRUE(fixture.core.sent.empty());
}

TEST_F(WebEnginesPage, DefinedEnginesCanBeSwitchedOffAndRefusedFilesAreNamed) {
    DefinitionReading reading = ReadEngineDefinition(
        R"({"name":"Tape Shelf","base_url":"http://127.0.0.1:4300","url":"{base}/f?q={term}",
            "results":{"kind":"json","items":"a","link":"b"}})",
        "tape.json");
    ASSERT_TRUE(reading.definition);
    fixture.engines.engines = {*reading.definition};
    fixture.engines.errors = {"odd.json: not a JSON object"};
    Open();
    EXPECT_EQ(Switch(5).text(), QStringLiteral("Tape Shelf"));
    QLineEdit& address = fixture.Find<QLineEdit>(Url(5).c_str());
    EXPECT_TRUE(address.isReadOnly());
    EXPECT_EQ(address.text(), QStringLiteral("http://127.0.0.1:4300"));
    EXPECT_EQ(fixture.Find<QLabel>("IDC_ENGINE_REFUSED").text(),
              QStringLiteral("odd.json: not a JSON object"));

    Switch(5).click();
    fixture.Click("IDC_PREFS_SAVE");
    ASSERT_EQ(fixture.dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(EnabledDefinitions(fixture.engines.engines, fixture.settings).empty());
    // The file keeps its own address.
    for (const auto& [key, value] : fixture.settings.values) {
        EXPECT_NE(value, "http://127.0.0.1:4300") << key;
    }
}

}  // namespace
}  // namespace korvana
