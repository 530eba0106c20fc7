#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "transfers/TransferRows.h"
#include "transfers/TransferTexts.h"
#include "transfers/TransferUnits.h"

namespace korvana {
namespace {

TEST(HumanUnits, SizesStepBy1024AndKeepOneDecimal) {
    EXPECT_EQ(HumanSize(0), "0 bytes");
    EXPECT_EQ(HumanSize(1), "1 byte");
    EXPECT_EQ(HumanSize(1023), "1023 bytes");
    EXPECT_EQ(HumanSize(1024), "1.0 kB");
    EXPECT_EQ(HumanSize(4404019), "4.2 MB");
    EXPECT_EQ(HumanSize(std::int64_t{3} << 30), "3.0 GB");
    EXPECT_EQ(HumanSize(-1), "");
}

TEST(HumanUnits, AFigureThatWouldRoundTo1000TakesTheNextUnit) {
    EXPECT_EQ(HumanSize(999 * 1024), "999.0 kB");
    // 1023.9 kB rounds to 1024.0: shown as the next unit instead.
    EXPECT_EQ(HumanSize(1048474), "1.0 MB");
    EXPECT_EQ(HumanSize(std::numeric_limits<std::int64_t>::max()), "8.0 EB");
}

TEST(HumanUnits, SizeWithTheExactByteCountInGroups) {
    EXPECT_EQ(HumanSizeWithBytes(4404019), "4.2 MB (4,404,019 bytes)");
    EXPECT_EQ(HumanSizeWithBytes(512), "512 bytes");
    EXPECT_EQ(GroupedDigits(0), "0");
    EXPECT_EQ(GroupedDigits(999), "999");
    EXPECT_EQ(GroupedDigits(1000), "1,000");
    EXPECT_EQ(GroupedDigits(-1234567), "-1,234,567");
    EXPECT_EQ(GroupedDigits(std::numeric_limits<std::int64_t>::min()),
              "-9,223,372,036,854,775,808");
}

TEST(HumanUnits, RatesPerSecond) {
    EXPECT_EQ(HumanRate(39424.0), "38.5 kB/s");
    EXPECT_EQ(HumanRate(0.0), "0 bytes/s");
    EXPECT_EQ(HumanRate(512.4), "512 bytes/s");
    EXPECT_EQ(HumanRate(-1.0), "");
    EXPECT_EQ(HumanRate(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(HumanRate(std::numeric_limits<double>::infinity()), "");
}

TEST(HumanUnits, DurationsInTheirTwoLargestUnits) {
    EXPECT_EQ(HumanDuration(0), "0 s");
    EXPECT_EQ(HumanDuration(45), "45 s");
    EXPECT_EQ(HumanDuration(130), "2 min 10 s");
    EXPECT_EQ(HumanDuration(120), "2 min");
    EXPECT_EQ(HumanDuration(3600 + 5 * 60 + 59), "1 h 5 min");
    EXPECT_EQ(HumanDuration(2 * 86400 + 4 * 3600 + 7), "2 d 4 h");
    EXPECT_EQ(HumanDuration(-5), "");
}

TEST(HumanUnits, ReceivedAndTimeLeftTips) {
    EXPECT_EQ(ReceivedText(1887437, 4404019), "1.8 MB of 4.2 MB received");
    EXPECT_EQ(ReceivedText(2048, 0), "2.0 kB received");
    EXPECT_EQ(TimeLeftTip(130), "2 min 10 s left");
    EXPECT_EQ(TimeLeftTip(0), "Nothing left to receive");
    EXPECT_EQ(TimeLeftTip(std::nullopt), "Time left not known");
}

// The estimate behind "hh:mm:ss" keeps the days the text drops.
TEST(HumanUnits, SecondsLeftAgreeWithTheTimeLeftText) {
    const std::int64_t size = 100 * 86400 + 100;
    EXPECT_EQ(TimeLeftText(100, size, 1), "00:00:00");
    EXPECT_EQ(SecondsLeft(100, size, 1), 86400);
    EXPECT_EQ(TimeLeftText(1000, 131000, 1), "00:02:10");
    EXPECT_EQ(SecondsLeft(1000, 131000, 1), 130);
    EXPECT_EQ(SecondsLeft(0, 100, 1), std::nullopt);
    EXPECT_EQ(SecondsLeft(100, 0, 1), std::nullopt);
    EXPECT_EQ(SecondsLeft(100, 100, 0), 0);
    EXPECT_EQ(WebRate(2048, 2), 1024.0);
    EXPECT_EQ(WebRate(2048, 0), std::nullopt);
}

// The fixed columns keep their texts; the tooltips and the Size column add
// the same figures in human units.
TEST(TransferTips, ARunningCoreDownloadTellsItsFiguresInHumanUnits) {
    TransferItem item;
    item.key = TransferKey::Core(1);
    item.name = "song.mp3";
    item.size = 4404019;
    item.downloaded = 1048576;
    item.rate = 39424.0f;
    const DownloadRow row = MakeDownloadRow(item, 10);
    EXPECT_EQ(DownloadCell(row, kDownloadSize), "4404019");
    EXPECT_EQ(DownloadCell(row, kDownloadRate), "38.50 KB/s");
    EXPECT_EQ(DownloadCell(row, kDownloadTimeLeft), "00:00:31");
    EXPECT_EQ(DownloadCell(row, kDownloadHumanSize), "4.2 MB");
    EXPECT_EQ(DownloadTip(row, kDownloadSize), "4.2 MB (4,404,019 bytes)");
    EXPECT_EQ(DownloadTip(row, kDownloadHumanSize), "4.2 MB (4,404,019 bytes)");
    EXPECT_EQ(DownloadTip(row, kDownloadRate), "38.5 kB/s");
    EXPECT_EQ(DownloadTip(row, kDownloadTimeLeft), "31 s left");
    EXPECT_EQ(DownloadTip(row, kDownloadBar), "1.0 MB of 4.2 MB received (23%)");
    EXPECT_EQ(DownloadTip(row, kDownloadName), "song.mp3");
}

TEST(TransferTips, FiguresNotKnownOrNotShownSaySo) {
    TransferItem contacting;
    contacting.key = TransferKey::Web("http://a.example/x");
    contacting.contacting = true;
    const DownloadRow waiting = MakeDownloadRow(contacting, 10);
    EXPECT_EQ(DownloadCell(waiting, kDownloadHumanSize), "");
    EXPECT_EQ(DownloadTip(waiting, kDownloadHumanSize), "Size not known yet");
    EXPECT_EQ(DownloadTip(waiting, kDownloadRate), "Rate not known yet");
    EXPECT_EQ(DownloadTip(waiting, kDownloadTimeLeft), "Time left not known");

    TransferItem failed = contacting;
    failed.contacting = false;
    failed.errorCode = 1;
    const DownloadRow halted = MakeDownloadRow(failed, 10);
    EXPECT_EQ(DownloadTip(halted, kDownloadRate), "");
    EXPECT_EQ(DownloadTip(halted, kDownloadTimeLeft), "");

    // Under a second still to come is not "nothing left".
    TransferItem almost;
    almost.key = TransferKey::Core(2);
    almost.size = 1000;
    almost.downloaded = 999;
    const DownloadRow row = MakeDownloadRow(almost, 10);
    EXPECT_EQ(DownloadCell(row, kDownloadTimeLeft), "00:00:00");
    EXPECT_EQ(DownloadTip(row, kDownloadTimeLeft), "1 s left");

    // Whole within the second it started: no rate now, nor ever after.
    TransferItem quick;
    quick.key = TransferKey::Web("http://a.example/quick.mp3");
    quick.size = 4096;
    quick.downloaded = 4096;
    quick.startTime = 10;
    quick.finishTime = 10;
    const DownloadRow done = MakeDownloadRow(quick, 500);
    EXPECT_EQ(DownloadCell(done, kDownloadRate), "- KB/s");
    EXPECT_EQ(DownloadTip(done, kDownloadRate), "Finished in under a second");
}

}  // namespace
}  // namespace korvana
