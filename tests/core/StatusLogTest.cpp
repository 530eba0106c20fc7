#include "core/StatusLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace korvana {
namespace {

std::vector<std::string> Numbered(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i < to; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    return lines;
}

TEST(StatusLogRing, KeepsAtMostItsBoundAndTheNewestLines) {
    StatusLog log(100);
    for (const std::string& line : Numbered(0, 250)) {
        log.Line(line);
    }
    EXPECT_EQ(log.LinesWritten(), 250u);
    std::vector<std::string> kept;
    EXPECT_EQ(log.CopySince(0, kept), 150u);  // the first 150 are gone
    EXPECT_EQ(kept, Numbered(150, 250));
}

TEST(StatusLogRing, CopySinceGivesOnlyLinesNotTakenYet) {
    StatusLog log(10);
    for (const std::string& line : Numbered(0, 4)) {
        log.Line(line);
    }
    std::vector<std::string> first;
    EXPECT_EQ(log.CopySince(0, first), 0u);
    EXPECT_EQ(first, Numbered(0, 4));
    log.Line("line 4");
    std::vector<std::string> next;
    EXPECT_EQ(log.CopySince(4, next), 4u);
    EXPECT_EQ(next, Numbered(4, 5));
    std::vector<std::string> none;
    EXPECT_EQ(log.CopySince(5, none), 5u);
    EXPECT_TRUE(none.empty());
}

TEST(StatusLogRing, FileKeepsEveryLineTheRingDrops) {
    test::TempDir dir;
    {
        StatusLog log(3);
        ASSERT_TRUE(log.OpenFile(dir.Path() / "korvana.log"));
        for (const std::string& line : Numbered(0, 20)) {
            log.Line(line);
        }
    }
    std::ifstream in(dir.Path() / "korvana.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, Numbered(0, 20));
}

// A viewer that takes lines in batches is woken once per arming, and not
// at all while unarmed (its window hidden).
TEST(StatusLogWake, OncePerArmingAndNeverWhenUnarmed) {
    StatusLog log;
    std::atomic<int> wakes{0};
    log.SetWake([&] { ++wakes; });
    for (int i = 0; i < 1000; ++i) {
        log.Line("unwatched");
    }
    EXPECT_EQ(wakes.load(), 0);
    log.ArmWake();
    for (int i = 0; i < 1000; ++i) {
        log.Line("watched");
    }
    EXPECT_EQ(wakes.load(), 1);
    log.ArmWake();
    log.DisarmWake();
    log.Line("after disarming");
    EXPECT_EQ(wakes.load(), 1);
}

TEST(StatusLogWake, ViewersStillSeeEveryLine) {
    StatusLog log(2);
    std::vector<std::string> seen;
    log.AttachViewer([&](const std::string& line) { seen.push_back(line); });
    for (const std::string& line : Numbered(0, 5)) {
        log.Line(line);
    }
    EXPECT_EQ(seen, Numbered(0, 5));
}

}  // namespace
}  // namespace korvana
