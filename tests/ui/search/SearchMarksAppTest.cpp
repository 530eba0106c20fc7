#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <csignal>
#include <fstream>

#include "controls/FilterBox.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "tests/support/SimHarness.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"
#include "tests/ui/app/ComposedApp.h"

namespace korvana {
namespace {

// The simulated core as the program sees it: it runs until it exits.
class RunningSim final : public CoreProcess {
  public:
    explicit RunningSim(sim::test::SimProcess& sim) : sim_(sim) {}
    bool IsCoreRunning() const override { return !sim_.WaitForExit(std::chrono::milliseconds(0)); }
    void LaunchCore() override {}

  private:
    sim::test::SimProcess& sim_;
};

std::filesystem::path Catalogue(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / "catalogue.txt";
    std::ofstream(path) << "Marker Band\tHad Song\tAlbum\t192\t200\n"
                        << "Marker Band\tNew Song\tAlbum\t192\t200\n";
    return path;
}

// The whole program on a simulated core whose catalogue holds two songs by
// one band, one of which is already in the downloads folder.
class SearchMarksAppTest : public ::testing::Test {
  protected:
    SearchMarksAppTest() {
        const std::filesystem::path install = dir.Path() / "install";
        std::filesystem::create_directories(install / "Downloads");
        std::ofstream(install / "Downloads" / "marker band - had song.MP3") << "ID3";
        composed =
            std::make_unique<test::ComposedApp>(install, clock, std::make_unique<RunningSim>(sim),
                                                static_cast<std::uint16_t>(sim.Port()));
        app = composed->app.get();
        app->Start(*qApp);
        app->Splash()->accept();
        page = app->Window().findChild<SearchPage*>(QStringLiteral("IDD_SEARCH"));
    }

    std::string Tip(const std::string& name) {
        const ResultTableModel& results = page->Results();
        for (int row = 0; row < results.rowCount(); ++row) {
            if (results.RowAt(row).result->Name() == name) {
                return results.data(results.index(row, 0), Qt::ToolTipRole)
                    .toString()
                    .toStdString();
            }
        }
        return "(not listed)";
    }
    QString Line() const {
        return page->ProgressLine().text().replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    }

    test::TempDir dir;
    sim::test::SimProcess sim{dir.Path(), {"--catalogue", Catalogue(dir.Path() / "cat").string()}};
    SystemClock clock;
    std::unique_ptr<test::ComposedApp> composed;
    FinderApp* app = nullptr;
    SearchPage* page = nullptr;
};

TEST_F(SearchMarksAppTest, AResultTheLibraryHoldsIsMarkedAndTheLineFollowsTheCoreLink) {
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(test::WaitUntil([&] { return app->Bridge().IsPolling(); }, 15000));
    auto* keyword = page->findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"));
    keyword->setText(QStringLiteral("marker"));
    QTest::keyClick(keyword, Qt::Key_Return);
    ASSERT_TRUE(test::WaitUntil([&] { return page->Results().rowCount() >= 2; }, 15000));
    // The library's first scan may come after the results.
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Tip("Marker Band - Had Song.mp3") == "Already in your Library"; }, 15000))
        << Tip("Marker Band - Had Song.mp3");
    EXPECT_EQ(Tip("Marker Band - New Song.mp3"), "");
    EXPECT_TRUE(Line().contains(QStringLiteral("Core: searching, 2 results")))
        << Line().toStdString();

    sim.Signal(SIGKILL);
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Line().contains(QStringLiteral("Core: not connected")); }, 15000))
        << Line().toStdString();
}

}  // namespace
}  // namespace korvana
