#include "services/DownloadNotices.h"

#include <gtest/gtest.h>

#include "tests/support/FakeClock.h"

namespace korvana {
namespace {

class DownloadNoticesTest : public ::testing::Test {
  protected:
    std::vector<DesktopNotice> AfterGathering() {
        clock_.Advance(DownloadNotices::kGatherTime);
        return notices_.TakeDue();
    }

    test::FakeClock clock_;
    DownloadNotices notices_{clock_};
};

TEST_F(DownloadNoticesTest, EachOfAFewEndingsIsToldOnItsOwnOnceGathered) {
    notices_.Note({"a.mp3", false, ""}, false);
    notices_.Note({"b.mp3", true, "Connection refused"}, false);
    EXPECT_TRUE(notices_.TakeDue().empty());
    const auto told = AfterGathering();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].summary, "Download finished");
    EXPECT_EQ(told[0].body, "a.mp3");
    EXPECT_EQ(told[1].summary, "Download failed");
    EXPECT_EQ(told[1].body, "b.mp3: Connection refused");
    EXPECT_FALSE(notices_.NextDue());
    EXPECT_TRUE(AfterGathering().empty());
}

TEST_F(DownloadNoticesTest, ManyEndingsTogetherAreOneNoticeForFinishedAndOneForFailed) {
    for (int i = 0; i < 8; ++i) {
        notices_.Note({"song" + std::to_string(i) + ".mp3", false, ""}, false);
    }
    notices_.Note({"bad.mp3", true, "404"}, false);
    const auto told = AfterGathering();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0].summary, "8 downloads finished");
    EXPECT_EQ(told[0].body, "song0.mp3\nsong1.mp3\nsong2.mp3\nsong3.mp3\nsong4.mp3\nand 3 more");
    // A lone failure among them is told as itself.
    EXPECT_EQ(told[1].summary, "Download failed");
    EXPECT_EQ(told[1].body, "bad.mp3: 404");
}

TEST_F(DownloadNoticesTest, NothingIsToldWhileTheWindowIsActiveOrWhenSwitchedOff) {
    notices_.Note({"seen.mp3", false, ""}, true);
    notices_.SetEnabled(false);
    notices_.Note({"off.mp3", false, ""}, false);
    EXPECT_FALSE(notices_.NextDue());
    EXPECT_TRUE(AfterGathering().empty());
}

TEST_F(DownloadNoticesTest, TheGatheringStartsWithTheFirstWaitingEnding) {
    notices_.Note({"a.mp3", false, ""}, false);
    const auto due = notices_.NextDue();
    ASSERT_TRUE(due);
    clock_.Advance(DownloadNotices::kGatherTime / 2);
    notices_.Note({"b.mp3", false, ""}, false);
    EXPECT_EQ(notices_.NextDue(), due);
    clock_.Advance(DownloadNotices::kGatherTime / 2);
    EXPECT_EQ(notices_.TakeDue().size(), 2u);
}

}  // namespace
}  // namespace korvana
