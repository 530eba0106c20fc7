#include <gtest/gtest.h>

#include "transfers/TransferRows.h"
#include "transfers/TransferTexts.h"

namespace korvana {
namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

TransferItem Web(std::int64_t downloaded, std::int64_t size) {
    TransferItem item;
    item.key = TransferKey::Web("http://127.0.0.1:8080/files/a.mp3");
    item.downloaded = downloaded;
    item.size = size;
    return item;
}

TransferItem Core(std::uint8_t state, std::int64_t downloaded = 10, std::int64_t size = 20) {
    TransferItem item;
    item.key = TransferKey::Core(17);
    item.coreState = state;
    item.downloaded = downloaded;
    item.size = size;
    return item;
}

TEST(TransferKeys, AKeyIsOfOneKindAndShowsAsItsNumberOrLink) {
    EXPECT_TRUE(TransferKey::Core(0).IsCore());
    EXPECT_EQ(TransferKey::Core(-3).Text(), "-3");
    EXPECT_EQ(TransferKey::Core(7).Text(), TransferKey::Web("7").Text());
    EXPECT_FALSE(TransferKey::Core(7) == TransferKey::Web("7"));
    EXPECT_FALSE(TransferKey::Core(0) == TransferKey());
    EXPECT_FALSE(TransferKey::Web("a") == TransferKey::Web("A"));
    EXPECT_TRUE(TransferKey::Web("a") == TransferKey::Web("a"));
    EXPECT_EQ(TransferKey::Web("7").FileNumber(), 0);
    EXPECT_EQ(TransferKey::Core(7).Link(), "");
}

// Every kind of record a row can show, at many states: a row that does not
// say it changes with the clock must show the same texts a while later, or
// it would stand still on a page that refreshes only when told.
TEST(TransferRowTimes, ARowThatSaysItHoldsStillShowsTheSameTextsLater) {
    int moving = 0;
    int still = 0;
    for (const bool core : {true, false}) {
        for (int state = 0; state <= 8; ++state) {
            for (const std::int64_t downloaded : {0, 1, 50, 100, 150}) {
                for (const std::int64_t size : {0, 100}) {
                    for (const std::time_t finish : {0, 1005}) {
                        TransferItem item =
                            core ? Core(static_cast<std::uint8_t>(state % 8), downloaded, size)
                                 : Web(downloaded, size);
                        item.finishTime = finish;
                        item.startTime = 1000;
                        item.errorCode = core ? 0 : state % 5;
                        item.cancelled = state == 8;
                        item.contacting = !core && state == 7;
                        if (ChangesWithTime(item)) {
                            ++moving;
                            continue;
                        }
                        ++still;
                        TransferItem later = item;
                        const DownloadRow first = MakeDownloadRow(item, 1010);
                        for (const std::time_t now : {1011, 1013, 1100, 5000}) {
                            EXPECT_TRUE(MakeDownloadRow(later, now) == first)
                                << core << " " << state << " " << downloaded << " " << size << " "
                                << finish << " at " << now;
                        }
                    }
                }
            }
        }
    }
    // Both kinds occur, or the test would prove nothing.
    EXPECT_GT(moving, 20);
    EXPECT_GT(still, 20);
}

TEST(TransferStatus, WebDownloadsTakeTheFirstRuleThatApplies) {
    TransferItem item = Web(5, 10);
    EXPECT_EQ(DownloadStatusText(item, 0), "Downloading");
    item.downloaded = 10;
    EXPECT_EQ(DownloadStatusText(item, 0), "Finished");
    item.errorCode = 1;
    EXPECT_EQ(DownloadStatusText(item, 0), "Error - Cannot Contact Server");
    item.errorCode = 2;
    EXPECT_EQ(DownloadStatusText(item, 0), "Error - Server Missing File");
    item.errorCode = 3;
    EXPECT_EQ(DownloadStatusText(item, 0), "Error - Connection Timeout");
    item.errorCode = 4;
    EXPECT_EQ(DownloadStatusText(item, 0), "Error");
    item.cancelled = true;
    EXPECT_EQ(DownloadStatusText(item, 0), "User Cancelled");
    item.contacting = true;
    EXPECT_EQ(DownloadStatusText(item, 0), "Contacting server");
}

TEST(TransferStatus, CoreDownloadsFollowTheCoreState) {
    const char* expected[] = {"File Downloading", "Download Paused",    "File Downloaded",
                              "File Shared",      "Download Cancelled", "New File",
                              "Download Aborted", "File Queued",        ""};
    for (std::uint8_t state = 0; state <= 8; ++state) {
        TransferItem item = Core(state);
        EXPECT_EQ(DownloadStatusText(item, 100), expected[state]) << int(state);
        EXPECT_EQ(item.finishTime, state == 2 ? 100 : 0) << int(state);
    }
    TransferItem complete = Core(0, 20, 20);
    EXPECT_EQ(DownloadStatusText(complete, 100), "Download Completed");
    EXPECT_EQ(complete.finishTime, 100);
    // Found complete again at the next refresh: the finish time moves on.
    EXPECT_EQ(DownloadStatusText(complete, 101), "Download Completed");
    EXPECT_EQ(complete.finishTime, 101);
    TransferItem cancelled = Core(3);
    cancelled.cancelled = true;
    EXPECT_EQ(DownloadStatusText(cancelled, 100), "Download Cancelled");
}

TEST(TransferProgress, WholePercentOf64BitCounts) {
    EXPECT_EQ(ProgressText(1, 2), "50");
    EXPECT_EQ(ProgressText(999, 1000), "99");
    EXPECT_EQ(ProgressText(0, 1000), "0");
    EXPECT_EQ(ProgressText(5 * kGiB, 10 * kGiB), "50");
    EXPECT_EQ(ProgressText(3 * kGiB, 3 * kGiB), "100");
    // Unknown size: an empty bar rather than a value out of range.
    EXPECT_EQ(ProgressText(0, 0), "");
    EXPECT_EQ(ProgressText(150, 100), "100");
    EXPECT_EQ(SizeText(6 * kGiB), "6442450944");
}

TEST(TransferRates, CoreRateAsReportedAndWebRateAsAverage) {
    EXPECT_EQ(CoreRateText(0.0f), " 0.00 KB/s");
    EXPECT_EQ(CoreRateText(1024.0f), " 1.00 KB/s");
    EXPECT_EQ(CoreRateText(1536000.0f), "1500.00 KB/s");
    EXPECT_EQ(WebRateText(0, 10), "- KB/s");
    EXPECT_EQ(WebRateText(2048, 0), "- KB/s");
    EXPECT_EQ(WebRateText(2048, 2), "1.00 KB/s");
    EXPECT_EQ(WebRateText(10 * kGiB, 1024), "10240.00 KB/s");
}

TEST(TransferTimeLeft, HoursMinutesSecondsWithTheDayDropped) {
    // One byte a second with a day, an hour, a minute and a second to go.
    EXPECT_EQ(TimeLeftText(1, 1 + 86400 + 3600 + 60 + 1, 1), "01:01:01");
    EXPECT_EQ(TimeLeftText(50, 100, 10), "00:00:10");
    EXPECT_EQ(TimeLeftText(1, 1 + 23 * 3600 + 59 * 60 + 59, 1), "23:59:59");
    // 10 GiB to go at 1 MiB a second.
    EXPECT_EQ(TimeLeftText(kGiB, 11 * kGiB, 1024), "02:50:40");
}

TEST(TransferTimeLeft, DefinedWhereTheAverageRateIsNot) {
    EXPECT_EQ(TimeLeftText(0, 100, 10), "--:--:--");  // nothing received yet
    EXPECT_EQ(TimeLeftText(50, 100, 0), "--:--:--");  // no time elapsed
    EXPECT_EQ(TimeLeftText(0, 0, 10), "--:--:--");    // size unknown
    EXPECT_EQ(TimeLeftText(100, 100, 10), "00:00:00");
    EXPECT_EQ(TimeLeftText(150, 100, 10), "00:00:00");  // more than the size
    EXPECT_EQ(TimeLeftText(1, std::numeric_limits<std::int64_t>::max(), 1'700'000'000), "--:--:--");
}

}  // namespace
}  // namespace korvana
