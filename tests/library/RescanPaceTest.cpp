#include <gtest/gtest.h>

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

}  // namespace
}  // namespace korvana::test
