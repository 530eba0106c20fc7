#include <gtest/gtest.h>

#include <QDir>
#include <QItemSelectionModel>
#include <QTableWidget>
#include <QTest>

#include "PageTestSupport.h"
#include "controls/SearchTabCtrl.h"
#include "tests/ui/UiWait.h"

// Renders the search page with results to a PNG file, so that anyone can
// look at it: under KORVANA_GALLERY_DIR when it is set, else under "gallery"
// in the test's working folder (the build folder).
namespace korvana {
namespace {

using test::HandOver;
using test::MakeCoreResult;

QString GalleryFile(const QString& name) {
    const QString folder = qEnvironmentVariableIsSet("KORVANA_GALLERY_DIR")
                               ? qEnvironmentVariable("KORVANA_GALLERY_DIR")
                               : QDir::current().filePath(QStringLiteral("gallery"));
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

void AddSongs(test::PageWorld& world) {
    struct Song {
        const char* name;
        std::int64_t size;
        std::int32_t network;
        std::int32_t sources;
        std::int32_t bitrate;
    };
    const Song songs[] = {
        {"The Loopbacks - Localhost Blues.mp3", 4'812'394, 1, 12, 192},
        {"The Loopbacks - Port Forty One Hundred.mp3", 3'920'117, 2, 4, 128},
        {"Quiet Engines - Idle Loop.mp3", 6'015'332, 1, 31, 256},
        {"Static Garden - Loopback Lullaby.mp3", 5'550'100, 1, 2, 0},
        {"The Loopbacks - Connection Refused (live).mp3", 7'342'881, 2, 9, 320},
        {"Packet Choir - Three Way Handshake.mp3", 2'998'004, 1, 1, 160},
    };
    std::int32_t resultId = 100;
    for (const Song& song : songs) {
        auto result = MakeCoreResult(0, resultId++, song.name, song.size, song.network);
        result->bitrate = song.bitrate;
        result->sources = song.sources;
        HandOver(world.model, result);
    }
    const char* webNames[] = {"Localhost Blues.mp3", "Idle Loop (radio edit).mp3",
                              "Loopback Lullaby.mp3", "Connection Refused.mp3"};
    for (int i = 0; i < 4; ++i) {
        const std::string link = "http://127.0.0.1:4100/files/" + std::to_string(i) + ".mp3";
        world.model.AddWebResult(0, link, webNames[i], WebEngineId::Engine2);
        world.probes->headers[link] = test::OkHeader(3'000'000 + i * 977'531);
    }
    world.StartProbes(2);
    world.probes->RunAll();
}

TEST(SearchPageLook, PageWithResults) {
    test::PageWorld world;
    world.page.resize(960, 560);
    world.page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&world.page));
    world.page.findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"))->setText("loopback");
    world.page.StartSearch();
    world.page.findChild<QLineEdit*>(QStringLiteral("IDC_KEYWORD"))->setText("packet choir");
    world.page.StartSearch();
    HandOver(world.model, MakeCoreResult(1, 1, "Packet Choir - Ack.mp3", 1));
    world.page.Tabs().SelectTab(0);
    world.page.ShowSearch(0);
    AddSongs(world);
    world.page.findChild<QTableWidget*>(QStringLiteral("IDC_FILTER_LIST"))
        ->item(2, 1)
        ->setText(QStringLiteral("128"));
    world.page.SortBy(ResultColumn::Size);
    ASSERT_TRUE(test::WaitUntil([&] { return world.page.Results().rowCount() == 10; }));
    world.page.ResultView().selectionModel()->select(
        world.page.Results().index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    world.Settle();

    const QImage image = world.page.grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QString path = GalleryFile(QStringLiteral("search-page.png"));
    ASSERT_TRUE(image.save(path)) << path.toStdString();
    EXPECT_EQ(world.page.Tabs().Model().Tab(0).title, "loopback (8)");
}

}  // namespace
}  // namespace korvana
