#include "services/VersionText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

TEST(VersionText, TrailingWhiteSpaceIsRemovedOnly) {
    EXPECT_EQ(TrimVersionText("3.0.1\r\n"), "3.0.1");
    EXPECT_EQ(TrimVersionText("3.0.1 \t\n\n"), "3.0.1");
    EXPECT_EQ(TrimVersionText(" 3.0.1"), " 3.0.1");
    EXPECT_EQ(TrimVersionText("\r\n \t"), "");
}

TEST(VersionText, ComponentsAreNumbers) {
    EXPECT_EQ(ParseVersion("3.0.10"), (std::vector<std::uint32_t>{3, 0, 10}));
    EXPECT_EQ(ParseVersion("003.000.001"), (std::vector<std::uint32_t>{3, 0, 1}));
    EXPECT_EQ(ParseVersion("999999999"), (std::vector<std::uint32_t>{999999999}));
    for (const char* junk : {"", "abc", "3.0.1beta", "v3.0.1", " 3.0.1", "3..1", ".3", "3.", "-1",
                             "3,0,1", "1234567890", "<html>404 Not Found</html>"}) {
        EXPECT_FALSE(ParseVersion(junk).has_value()) << junk;
    }
    EXPECT_FALSE(ParseVersion(std::string(kMaxVersionText + 1, '1')).has_value());
    EXPECT_FALSE(ParseVersion(std::string("3.0\0.1", 6)).has_value());
}

TEST(VersionText, NewerComparesComponentsAsNumbers) {
    for (const char* newer : {"3.0.1", "3.0.10", "3.1", "4", "3.0.0.1", "10.0.0"}) {
        EXPECT_TRUE(IsNewerVersion(newer, kRunningVersion)) << newer;
    }
    EXPECT_TRUE(IsNewerVersion("3.0.10", "3.0.9"));
    EXPECT_FALSE(IsNewerVersion("3.0.9", "3.0.10"));
    for (const char* notNewer :
         {"3.0.0", "3.0", "3.0.0.0", "2.9.9", "2.10", "", "<html>", "9.9.9-rc1", "\xff\xfe"}) {
        EXPECT_FALSE(IsNewerVersion(notNewer, kRunningVersion)) << notNewer;
    }
    EXPECT_FALSE(IsNewerVersion("4", "junk"));
}

}  // namespace
}  // namespace korvana
