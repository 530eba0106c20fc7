#include "util/PercentText.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(PercentText, EscapesAreReadBackAsEachCallerNeeds) {
    EXPECT_EQ(PercentDecoded("a%20b%2fc+d"), "a b/c+d");
    EXPECT_EQ(PercentDecoded("a+b%2B", {.plusIsSpace = true}), "a b+");
    // Lenient: a "%" that escapes nothing stays as it is.
    EXPECT_EQ(PercentDecoded("100% %zz %4"), "100% %zz %4");
    // Strict: such a "%", or an escaped NUL, makes the text unreadable.
    EXPECT_FALSE(PercentDecoded("100%", {.strict = true}));
    EXPECT_FALSE(PercentDecoded("a%zzb", {.strict = true}));
    EXPECT_FALSE(PercentDecoded("a%00b", {.strict = true}));
    EXPECT_EQ(PercentDecoded("%C3%A9", {.strict = true}), "é");
    // Kept escapes stay escaped; the rest is decoded.
    EXPECT_EQ(PercentDecoded("a%2Fb%00c%41", {.keepEscaped = std::string_view("/\0", 2)}),
              "a%2Fb%00cA");
}

}  // namespace
}  // namespace korvana
