#include "app/MainLayout.h"
#include "app/StatusTexts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvana {
namespace {

// The status row from left to right: filler, four panes, filler.
std::vector<LayoutRect> StatusRow(const MainLayout& layout) {
    return {layout.leftFiller, layout.serversPane,   layout.bandwidthPane,
            layout.sharedPane, layout.downloadsPane, layout.rightFiller};
}

// Whether a window of `width` by `height` shows a page host of at least
// `pageWidth` by `pageHeight` and every pane of the status row whole.
bool ShowsEverythingWhole(int width, int height, int pageWidth, int pageHeight) {
    const MainLayout layout = ComputeMainLayout(width, height);
    const std::vector<LayoutRect> row = StatusRow(layout);
    return layout.pageHost.width >= pageWidth && layout.pageHost.height >= pageHeight &&
           row.front().x >= 0 && row.front().width >= 0 && row.back().x + row.back().width <= width;
}

TEST(MainLayout, TheStatusRowIsCentredWithItsPanesSideBySide) {
    const MainLayout narrow = ComputeMainLayout(800, 600);
    for (const int width : {700, 800, 1000, 1001, 1920}) {
        const MainLayout layout = ComputeMainLayout(width, 600);
        const std::vector<LayoutRect> row = StatusRow(layout);
        EXPECT_EQ(row.front().x, 0) << width;
        for (std::size_t i = 1; i < row.size(); ++i) {
            EXPECT_EQ(row[i].x, row[i - 1].x + row[i - 1].width) << width << " pane " << i;
            EXPECT_EQ(row[i].y, row[0].y) << width;
            EXPECT_EQ(row[i].height, row[0].height) << width;
        }
        // Two equal fillers: an odd spare pixel is left over at the right.
        EXPECT_EQ(layout.leftFiller.width, layout.rightFiller.width) << width;
        const int rowEnd = row.back().x + row.back().width;
        EXPECT_GE(rowEnd, width - 1) << width;
        EXPECT_LE(rowEnd, width) << width;
        // The panes keep their widths; only the fillers take up the change.
        EXPECT_EQ(layout.serversPane.width, narrow.serversPane.width) << width;
        EXPECT_EQ(layout.downloadsPane.width, narrow.downloadsPane.width) << width;
        EXPECT_EQ(layout.separator.width, width) << width;
        // The page host keeps the same margin on either side, whatever the width.
        EXPECT_EQ(width - (layout.pageHost.x + layout.pageHost.width),
                  800 - (narrow.pageHost.x + narrow.pageHost.width))
            << width;
    }
}

TEST(MainLayout, TheStatusRowEndsAtTheBottomWithNothingBelowIt) {
    for (const int height : {480, 700, 1200}) {
        const MainLayout layout = ComputeMainLayout(800, height);
        EXPECT_EQ(layout.serversPane.y + layout.serversPane.height, height - 2) << height;
        EXPECT_EQ(layout.pageHost.y + layout.pageHost.height, layout.separator.y) << height;
        EXPECT_LT(layout.separator.y, layout.serversPane.y) << height;
    }
}

TEST(MainLayout, TheLeastClientSizeIsTheLeastThatShowsEverythingWhole) {
    for (const auto& [pageWidth, pageHeight] :
         std::vector<std::pair<int, int>>{{560, 300}, {800, 300}, {100, 50}, {1200, 700}}) {
        const LayoutRect least = MinimumClientSize(pageWidth, pageHeight);
        EXPECT_TRUE(ShowsEverythingWhole(least.width, least.height, pageWidth, pageHeight))
            << pageWidth << "x" << pageHeight;
        // One pixel less either way cuts something off.
        EXPECT_FALSE(ShowsEverythingWhole(least.width - 1, least.height, pageWidth, pageHeight))
            << pageWidth << "x" << pageHeight;
        EXPECT_FALSE(ShowsEverythingWhole(least.width, least.height - 1, pageWidth, pageHeight))
            << pageWidth << "x" << pageHeight;
    }
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
