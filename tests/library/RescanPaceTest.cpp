#include <gtest/gtest.h>

#include <vector>

#include "library/RescanPace.h"

namespace korvana::test {
namespace {

using std::chrono::milliseconds;

constexpr RescanTiming kTiming{milliseconds(3000), milliseconds(60000), milliseconds(250), 3};

TEST(RescanPace, ScansSlowDownAfterAQuietSpellAndSpeedUpWhenOneFindsAChange) {
    RescanPace pace(kTiming);
    EXPECT_EQ(pace.ScanDone(true), kTiming.busy);
    EXPECT_EQ(pace.ScanDone(false), kTiming.busy);
    EXPECT_EQ(pace.ScanDone(false), kTiming.busy);
    EXPECT_FALSE(pace.Quiet());
    EXPECT_EQ(pace.ScanDone(false), kTiming.quiet);
    EXPECT_TRUE(pace.Quiet());
    EXPECT_EQ(pace.ScanDone(false), kTiming.quiet);
    // The safety scan finds what no watcher reported.
    EXPECT_EQ(pace.ScanDone(true), kTiming.busy);
    EXPECT_FALSE(pace.Quiet());
}

// A download under way changes its file's size at every scan.
TEST(RescanPace, AFileThatKeepsGrowingKeepsTheScansComing) {
    RescanPace pace(kTiming);
    for (int scan = 0; scan < 20; ++scan) {
        EXPECT_EQ(pace.ScanDone(scan % 3 == 0), kTiming.busy) << scan;
    }
}

TEST(RescanPace, AWatcherReportWakesAQuietFolderSoonAndABusyOneAtItsPace) {
    RescanPace pace(kTiming);
    EXPECT_EQ(pace.FolderChanged(), kTiming.busy);
    for (int scan = 0; scan < kTiming.quietScans; ++scan) {
        pace.ScanDone(false);
    }
    ASSERT_TRUE(pace.Quiet());
    EXPECT_EQ(pace.FolderChanged(), kTiming.wake);
    EXPECT_FALSE(pace.Quiet());
    // The report's change may show a scan late: the count starts again.
    pace.ScanDone(false);
    EXPECT_EQ(pace.ScanDone(false), kTiming.busy);
}

// Busy scans every few seconds look at every file about once per quiet
// spell; each quiet scan does, even when its timer fires a little early.
TEST(RescanPace, EveryFileIsLookedAtOncePerQuietSpell) {
    const auto start = std::chrono::steady_clock::time_point{} + std::chrono::hours(1);
    RescanPace busy(kTiming);
    std::vector<std::chrono::steady_clock::time_point> looks;
    for (auto at = start; at < start + 10 * kTiming.quiet; at += kTiming.busy) {
        if (busy.EveryFileDue(at)) {
            looks.push_back(at);
        }
    }
    ASSERT_GE(looks.size(), 9u);
    EXPECT_EQ(looks.front(), start);
    for (std::size_t i = 1; i < looks.size(); ++i) {
        EXPECT_GE(looks[i] - looks[i - 1], kTiming.quiet * 9 / 10) << i;
        EXPECT_LE(looks[i] - looks[i - 1], kTiming.quiet + kTiming.busy) << i;
    }

    RescanPace quiet(kTiming);
    auto at = start;
    for (int scan = 0; scan < 5; ++scan) {
        EXPECT_TRUE(quiet.EveryFileDue(at)) << scan;
        EXPECT_FALSE(quiet.EveryFileDue(at + kTiming.wake)) << scan;
        at += kTiming.quiet - milliseconds(900);
    }
}

}  // namespace
}  // namespace korvana::test
