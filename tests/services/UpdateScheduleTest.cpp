#include "services/UpdateSchedule.h"

#include <gtest/gtest.h>

#include <string>

namespace korvana {
namespace {

TEST(UpdateSchedule, StoredTimeReadsLikePercentD) {
    EXPECT_EQ(ParseStoredTime("1700000000"), 1700000000);
    EXPECT_EQ(ParseStoredTime("  \t42xyz"), 42);
    EXPECT_EQ(ParseStoredTime("-5"), -5);
    EXPECT_EQ(ParseStoredTime("+7"), 7);
    EXPECT_EQ(ParseStoredTime("never"), 0);
    EXPECT_EQ(ParseStoredTime(""), 0);
    EXPECT_EQ(ParseStoredTime("-"), 0);
    // Too large for any time the clock will show.
    EXPECT_EQ(ParseStoredTime(std::string(40, '9')), 0);
}

TEST(UpdateSchedule, DueAfterMoreThanADay) {
    const std::time_t now = 1'700'000'000;
    EXPECT_TRUE(IsUpdateCheckDue(std::nullopt, now));
    EXPECT_FALSE(IsUpdateCheckDue(std::to_string(now), now));
    EXPECT_FALSE(IsUpdateCheckDue(std::to_string(now - 86400), now));
    EXPECT_TRUE(IsUpdateCheckDue(std::to_string(now - 86401), now));
    EXPECT_TRUE(IsUpdateCheckDue("not a number", now));
    EXPECT_TRUE(IsUpdateCheckDue("", now));
}

TEST(UpdateSchedule, ClockSetBackDoesNotSilenceTheCheck) {
    const std::time_t now = 1'700'000'000;
    // A little ahead: another machine's clock, or a small correction.
    EXPECT_FALSE(IsUpdateCheckDue(std::to_string(now + 3600), now));
    EXPECT_TRUE(IsUpdateCheckDue(std::to_string(now + 86401), now));
}

}  // namespace
}  // namespace korvana
