#include "prefs/ConsoleArgument.h"
#include "tests/support/CoreConsoleTokens.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

using Words = std::vector<std::string>;

// The words the core reads from "share <argument>".
std::optional<Words> CoreReads(std::string_view folder) {
    const std::optional<std::string> argument = ConsoleArgument(folder);
    if (!argument) {
        return std::nullopt;
    }
    return test::CoreConsoleTokens("share " + *argument);
}

TEST(ConsoleArgument, TheCoreReadsBackExactlyTheFolder) {
    for (const std::string folder :
         {"/home/a/Music", "/a b/c", "\"start", "'start", "/say \"hi\" now", "/it's mine",
          "/a b\\\\", "/back\\slash dir", "/quote\\' x", "", "C:\\Music\\"}) {
        EXPECT_EQ(CoreReads(folder), (Words{"share", folder})) << folder;
    }
}

TEST(ConsoleArgument, ALineBreakOrZeroByteIsNeverCarried) {
    EXPECT_EQ(ConsoleArgument("/x\nshare /etc"), std::nullopt);
    EXPECT_EQ(ConsoleArgument("/x\rshare /etc"), std::nullopt);
    EXPECT_EQ(ConsoleArgument("/x\r\n"), std::nullopt);
    EXPECT_EQ(ConsoleArgument(std::string_view("/x\0y", 4)), std::nullopt);
    // Inside quotes as well: the newline must not reach the core at all.
    EXPECT_EQ(ConsoleArgument("/a b\nunshare /"), std::nullopt);
}

TEST(ConsoleLine, OnlyOneNonEmptyLineMayBeSent) {
    EXPECT_TRUE(IsOneConsoleLine("share \"/a b\""));
    EXPECT_TRUE(IsOneConsoleLine("save"));
    EXPECT_FALSE(IsOneConsoleLine(""));
    EXPECT_FALSE(IsOneConsoleLine("share /x\nshare /etc"));
    EXPECT_FALSE(IsOneConsoleLine("save\r"));
    EXPECT_FALSE(IsOneConsoleLine(std::string_view("save\0kill", 9)));
}

}  // namespace
}  // namespace korvana
