#include "core/DisplayText.h"

#include <gtest/gtest.h>

#include "core/StatusLog.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

namespace korvana {
namespace {

TEST(DisplayText, BidiControlsAreDropped) {
    // "live-rtl-override" + RLO + "3pm.exe": shown as it is stored, in order.
    EXPECT_EQ(DisplayText("live-rtl-override\xE2\x80\xAE"
                          "3pm.exe"),
              "live-rtl-override3pm.exe");
    EXPECT_EQ(DisplayText("a\xE2\x80\x8F"
                          "b\xE2\x81\xA6"
                          "c\xD8\x9C"
                          "d\xE2\x80\xAA"),
              "abcd");
}

TEST(DisplayText, ControlCharactersBecomeSpaces) {
    EXPECT_EQ(DisplayText("one\ntwo\r\tthree"), "one two  three");
    EXPECT_EQ(DisplayText(std::string("nul\0x\x7F", 6)), "nul x ");
    EXPECT_EQ(DisplayText("c1\xC2\x85"
                          "end\xE2\x80\xA8"
                          "x"),
              "c1 end x");
}

TEST(DisplayText, OrdinaryTextIsKept) {
    const std::string kept[] = {"Beyonc\xC3\xA9 - song (live).mp3", "\xE6\x97\xA5\xE6\x9C\xAC.mp3",
                                "emoji \xF0\x9F\x8E\xB5", "Latin-1 Beyonc\xE9 \xE2\xA0"};
    for (const std::string& text : kept) {
        EXPECT_EQ(DisplayText(text), text);
    }
}

// Text that is not UTF-8 is shown as Latin-1, whose controls go too; and
// dropping a control never joins the bytes around it into a new one.
TEST(DisplayText, BrokenTextCannotHideAControl) {
    EXPECT_EQ(DisplayText("broken \xE2\x80"), "broken \xE2 ");
    EXPECT_EQ(DisplayText("stray \x85\x9F end\n"), "stray    end ");
    EXPECT_EQ(DisplayText("overlong \xE0\x80\x8A"), "overlong \xE0  ");
    const std::string rebuilt = DisplayText("\xE2\x80\xE2\x80\xAE\xAE");
    EXPECT_EQ(rebuilt, "\xE2 \xE2 \xAE\xAE");
    EXPECT_EQ(DisplayText(rebuilt), rebuilt);
}

// A name with a line break written into the log stays one line, in the
// file and in a viewer alike.
TEST(DisplayText, ANameCannotSplitALogLine) {
    test::TempDir dir;
    StatusLog log;
    ASSERT_TRUE(log.OpenFile(dir.Path() / "korvana.log"));
    std::vector<std::string> seen;
    log.AttachViewer([&](const std::string& line) { seen.push_back(line); });
    log.Line("Dealing with evil\nConnected to server.\xE2\x80\xAE.mp3");
    EXPECT_EQ(test::ReadText(dir.Path() / "korvana.log"),
              "Dealing with evil Connected to server..mp3\n");
    EXPECT_EQ(seen, std::vector<std::string>{"Dealing with evil Connected to server..mp3"});
}

}  // namespace
}  // namespace korvana
