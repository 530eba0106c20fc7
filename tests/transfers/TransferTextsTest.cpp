#include <gtest/gtest.h>

#include "transfers/TransferTexts.h"

namespace korvana {
namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

TransferItem Web(std::int64_t downloaded, std::int64_t size) {
    TransferItem item;
    item.key = "http://127.0.0.1:8080/files/a.mp3";
    item.downloaded = downloaded;
    item.size = size;
    return item;
}

TransferItem Core(std::uint8_t state, std::int64_t downloaded = 10, std::int64_t size = 20) {
    TransferItem item;
    item.key = "17";
    item.coreState = state;
    item.downloaded = downloaded;
    item.size = size;
    return item;
}

TEST(TransferKeys, TheNumberAtTheStartDecidesTheKind) {
    EXPECT_EQ(KeyValue("17"), 17);
    EXPECT_EQ(KeyValue("  +42 files"), 42);
    EXPECT_EQ(KeyValue("\t-3"), -3);
    EXPECT_EQ(KeyValue("http://127.0.0.1/files/1.mp3"), 0);
    EXPECT_EQ(KeyValue(""), 0);
    EXPECT_EQ(KeyValue("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_TRUE(IsCoreKey("1"));
    EXPECT_FALSE(IsCoreKey("0"));
    EXPECT_FALSE(IsCoreKey("http://127.0.0.1/"));
    EXPECT_EQ(FileNumberOf("99999999999"), std::numeric_limits<std::int32_t>::max());
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
