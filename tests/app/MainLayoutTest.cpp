#include "app/MainLayout.h"
#include "app/StatusTexts.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(MainLayout, ThousandBySevenHundred) {
    const MainLayout layout = ComputeMainLayout(1000, 700);
    EXPECT_EQ(layout.pageHost, (LayoutRect{10, 68, 976, 603}));
    EXPECT_EQ(layout.leftFiller, (LayoutRect{0, 673, 182, 25}));
    EXPECT_EQ(layout.serversPane, (LayoutRect{182, 673, 150, 25}));
    EXPECT_EQ(layout.bandwidthPane, (LayoutRect{332, 673, 200, 25}));
    EXPECT_EQ(layout.sharedPane, (LayoutRect{532, 673, 135, 25}));
    EXPECT_EQ(layout.downloadsPane, (LayoutRect{667, 673, 150, 25}));
    EXPECT_EQ(layout.rightFiller, (LayoutRect{817, 673, 182, 25}));
    EXPECT_EQ(layout.separator, (LayoutRect{0, 671, 1000, 1}));
}

TEST(MainLayout, TheStatusRowEndsAtTheBottomWithNothingBelowIt) {
    for (const int height : {480, 700, 1200}) {
        const MainLayout layout = ComputeMainLayout(800, height);
        EXPECT_EQ(layout.serversPane.y + layout.serversPane.height, height - 2) << height;
        EXPECT_EQ(layout.pageHost.y + layout.pageHost.height, layout.separator.y) << height;
    }
}

TEST(MainLayout, TheLeastClientSizeKeepsThePageAndTheStatusRowWhole) {
    const LayoutRect least = MinimumClientSize(560, 300);
    EXPECT_EQ(least.width, 635);  // the four panes side by side
    const MainLayout layout = ComputeMainLayout(least.width, least.height);
    EXPECT_EQ(layout.pageHost.height, 300);
    EXPECT_GE(layout.pageHost.width, 560);
    EXPECT_GE(layout.leftFiller.width, 0);
    EXPECT_EQ(MinimumClientSize(800, 300).width, 824);
}

TEST(MainLayout, OddWidthRoundsFillersDown) {
    const MainLayout layout = ComputeMainLayout(1001, 700);
    EXPECT_EQ(layout.leftFiller.width, 183);
    EXPECT_EQ(layout.rightFiller.width, 183);
}

TEST(KeyFilter, EscapeClosesDialogsOnlyFunctionKeysOncePerPress) {
    EXPECT_EQ(ClassifyKey(Key::Escape, false), KeyAction::Swallow);
    EXPECT_EQ(ClassifyKey(Key::Escape, true), KeyAction::Swallow);
    EXPECT_EQ(ClassifyKey(Key::Escape, false, {.inClosableDialog = true}), KeyAction::None);
    EXPECT_EQ(ClassifyKey(Key::Enter, false, {.onButton = true}), KeyAction::PressButton);
    EXPECT_EQ(ClassifyKey(Key::Enter, true, {.onButton = true}), KeyAction::None);
    EXPECT_EQ(ClassifyKey(Key::Enter, false), KeyAction::None);
    EXPECT_EQ(ClassifyKey(Key::F2, false), KeyAction::ShowSearch);
    EXPECT_EQ(ClassifyKey(Key::F3, false), KeyAction::ShowTransfers);
    EXPECT_EQ(ClassifyKey(Key::F4, false), KeyAction::ShowLibrary);
    EXPECT_EQ(ClassifyKey(Key::F2, true), KeyAction::None);
    EXPECT_EQ(ClassifyKey(Key::Other, false), KeyAction::None);
}

TEST(StatusTexts, StartFromZeroedStatistics) {
    const StatusTexts texts = ComputeStatusTexts({});
    EXPECT_EQ(texts.servers, "Connecting to servers");
    EXPECT_EQ(texts.bandwidth, "  0.0 KB/s down :  0.0 KB/s up");
    EXPECT_EQ(texts.shared, "Sharing 0 files");
    EXPECT_EQ(texts.downloads, "Downloading 0 files");
}

TEST(StatusTexts, RatesServersAndSingularDownload) {
    StatusInputs in;
    in.connectedServers = 3;
    in.downloadRateA = 512;
    in.downloadRateB = 512;
    in.downloadingFiles = 1;
    in.sharedFiles = 1;
    StatusTexts texts = ComputeStatusTexts(in);
    EXPECT_EQ(texts.servers, "Connected to 3 servers");
    EXPECT_EQ(texts.bandwidth, "  1.0 KB/s down :  0.0 KB/s up");
    EXPECT_EQ(texts.shared, "Sharing 1 files");
    EXPECT_EQ(texts.downloads, "Downloading 1 file");

    in.activeWebDownloads = 1;  // web downloads count and add their rate
    in.webDownloadRate = 1024.0 * 200;
    in.uploadRateA = 1024 * 150;
    in.uploadRateB = 1024 * 10;
    texts = ComputeStatusTexts(in);
    EXPECT_EQ(texts.downloads, "Downloading 2 files");
    EXPECT_EQ(texts.bandwidth, "201.0 KB/s down :160.0 KB/s up");
}

// The core's last figures are stale once the link is down: the servers
// pane says so and its rates count as 0; web downloads still count.
TEST(StatusTexts, LinkDownShowsNotConnectedAndNoCoreRates) {
    StatusInputs in;
    in.coreConnected = false;
    in.connectedServers = 9;
    in.downloadRateA = 4096;
    in.uploadRateB = 2048;
    StatusTexts texts = ComputeStatusTexts(in);
    EXPECT_EQ(texts.servers, "Core not connected");
    EXPECT_EQ(texts.bandwidth, "  0.0 KB/s down :  0.0 KB/s up");
    in.webDownloadRate = 2048.0;
    texts = ComputeStatusTexts(in);
    EXPECT_EQ(texts.bandwidth, "  2.0 KB/s down :  0.0 KB/s up");
}

TEST(StatusTexts, RateKeepsAPointInAnyLocale) {
    EXPECT_EQ(FormatRate(12345.67), "12345.7");
    EXPECT_EQ(FormatRate(0.05), "  0.1");
}

}  // namespace
}  // namespace korvana
