#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/SearchTabModel.h"
#include "core/StatusLog.h"

namespace korvana {
namespace {

TEST(SearchTabTitleTest, CountFollowsTheSearchText) {
    EXPECT_EQ(TitleWithCount("abba", 12), "abba (12)");
    EXPECT_EQ(TitleWithCount("", 0), " (0)");
    EXPECT_EQ(TitleWithCount("abba", -1), "abba (-1)");
}

TEST(SearchTabTitleTest, BracketsOfTheSearchTextSurviveEveryCount) {
    SearchTabModel model;
    model.Add("a(b)", -1, 1);
    model.Add("live (1999) set", -1, 2);
    model.Add("(x)", -1, 3);
    for (const int count : {3, 15}) {
        for (const int id : {1, 2, 3}) {
            ASSERT_TRUE(model.SetResultCount(id, count));
        }
    }
    EXPECT_EQ(model.Tab(0).title, "a(b) (15)");
    EXPECT_EQ(model.Tab(1).title, "live (1999) set (15)");
    EXPECT_EQ(model.Tab(2).title, "(x) (15)");
    EXPECT_EQ(model.Tab(1).text, "live (1999) set");
}

TEST(TabStripScroll, AllTabsThatFitStartAtTheFirst) {
    EXPECT_EQ(FirstTabShown({50, 50, 50}, 150, 2, 2), 0);
    EXPECT_EQ(FirstTabShown({}, 100, 3, -1), 0);
}

TEST(TabStripScroll, TheTabToKeepIsBroughtIntoView) {
    const std::vector<int> widths(12, 60);            // 12 searches, room for 5
    EXPECT_EQ(FirstTabShown(widths, 300, 0, 11), 7);  // the newest, at the right end
    EXPECT_EQ(FirstTabShown(widths, 300, 7, 3), 3);   // one left of view: it comes first
    EXPECT_EQ(FirstTabShown(widths, 300, 2, 4), 2);   // already in view: nothing moves
    EXPECT_EQ(FirstTabShown(widths, 300, 2, 7), 3);
    // Scrolling stops once the last tab is in view.
    EXPECT_EQ(FirstTabShown(widths, 300, 11, -1), 7);
    EXPECT_EQ(LastFirstTab(widths, 300), 7);
    // A tab wider than the room is shown from its start.
    EXPECT_EQ(FirstTabShown({60, 500, 60}, 100, 0, 1), 1);
    EXPECT_EQ(LastFirstTab({60, 60, 500}, 100), 2);
}

TEST(SearchTabModelTest, NeighboursSkipDisabledTabsAndWrapOnlyWhenAsked) {
    SearchTabModel model;
    for (int id = 0; id < 4; ++id) {
        model.Add("t", -1, id);
    }
    model.SetEnabled(1, false);
    ASSERT_TRUE(model.Select(0));
    EXPECT_EQ(model.Neighbour(+1, false), 2);
    EXPECT_EQ(model.Neighbour(-1, false), -1);
    EXPECT_EQ(model.Neighbour(-1, true), 3);
    ASSERT_TRUE(model.Select(3));
    EXPECT_EQ(model.Neighbour(+1, false), -1);
    EXPECT_EQ(model.Neighbour(+1, true), 0);
    EXPECT_EQ(model.Neighbour(-1, false), 2);

    SearchTabModel empty;
    EXPECT_EQ(empty.Neighbour(+1, true), -1);
}

TEST(SearchTabTitleTest, ReadBackKeepsWholeCharacters) {
    const std::string ascii(70, 'x');
    EXPECT_EQ(TruncateField(ascii, 63), std::string(63, 'x'));
    EXPECT_EQ(TruncateField("short", 63), "short");
    // 62 ASCII bytes, then a two-byte character that would be cut in half.
    const std::string split = std::string(62, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(TruncateField(split, 63), std::string(62, 'a'));
    const std::string whole = std::string(61, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(TruncateField(whole, 63), whole.substr(0, 63));
    // A single-byte text is cut exactly, whatever its bytes.
    const std::string latin = std::string(62, 'a') + "\xA9\xA9";
    EXPECT_EQ(TruncateField(latin, 63), latin.substr(0, 63));
}

struct LogLines {
    StatusLog log;
    std::vector<std::string> lines;
    LogLines() {
        log.AttachViewer([this](const std::string& line) { lines.push_back(line); });
    }
};

TEST(SearchTabModelTest, AddingSelectsTheNewTab) {
    SearchTabModel model;
    EXPECT_EQ(model.SelectedSearchId(), -1);
    model.Add("one", -1, 10);
    model.Add("two", -1, 11);
    EXPECT_EQ(model.Selected(), 1);
    EXPECT_TRUE(model.Select(0));
    model.Add("three", 2, 12);
    EXPECT_EQ(model.Selected(), 2);
    EXPECT_EQ(model.SelectedSearchId(), 12);
    EXPECT_EQ(model.Tab(2).image, 2);
    EXPECT_TRUE(model.Enabled(2));
}

TEST(SearchTabModelTest, CountUpdatesFindTheFirstTabOfTheSearchAndLog) {
    LogLines log;
    SearchTabModel model(&log.log);
    model.Add("abba", -1, 7);
    model.Add("queen", -1, 8);
    model.Add("abba again", -1, 7);
    EXPECT_TRUE(model.SetResultCount(7, 12));
    EXPECT_TRUE(model.SetResultCount(7, 15));
    EXPECT_EQ(model.Tab(0).title, "abba (15)");
    EXPECT_EQ(model.Tab(2).title, "abba again");
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Match", "Match"}));

    model.Remove(1);
    EXPECT_FALSE(model.SetResultCount(8, 3));
    EXPECT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(model.Tab(1).title, "abba again");
}

TEST(SearchTabModelTest, LongTitlesAreReadBackAt63Characters) {
    SearchTabModel model;
    const std::string text(70, 'k');
    model.Add(text, -1, 1);
    EXPECT_EQ(model.Tab(0).title, text);
    model.SetResultCount(1, 4);
    EXPECT_EQ(model.Tab(0).title, std::string(63, 'k') + " (4)");
    model.SetResultCount(1, 9);
    EXPECT_EQ(model.Tab(0).title, std::string(63, 'k') + " (9)");
}

TEST(SearchTabModelTest, RemovingTheSelectedTabSelectsANeighbourFirst) {
    SearchTabModel model;
    model.Add("only", -1, 1);
    model.RemoveSelected();
    EXPECT_EQ(model.Count(), 0);
    EXPECT_EQ(model.SelectedSearchId(), -1);

    for (int id = 1; id <= 4; ++id) {
        model.Add("t", -1, id);
    }
    model.Select(0);
    model.RemoveSelected();
    EXPECT_EQ(model.SelectedSearchId(), 2);
    EXPECT_EQ(model.Count(), 3);

    model.Select(2);  // id 4
    model.RemoveSelected();
    EXPECT_EQ(model.SelectedSearchId(), 3);
    model.Select(1);  // id 3
    model.RemoveSelected();
    EXPECT_EQ(model.SelectedSearchId(), 2);
    EXPECT_EQ(model.Count(), 1);
}

TEST(SearchTabModelTest, RemovalKeepsFlagsAndSelectionInStep) {
    SearchTabModel model;
    for (int id = 0; id < 4; ++id) {
        model.Add("t", -1, id);
    }
    model.SetEnabled(3, false);
    model.Select(2);
    model.Remove(0);
    EXPECT_EQ(model.SelectedSearchId(), 2);
    EXPECT_FALSE(model.Enabled(2));
    EXPECT_EQ(model.EnabledFlags().Size(), 3u);
    model.Remove(1);  // the selected tab itself
    EXPECT_EQ(model.Selected(), -1);
    EXPECT_EQ(model.SelectedSearchId(), -1);
    model.RemoveAll();
    EXPECT_EQ(model.Count(), 0);
    EXPECT_EQ(model.EnabledFlags().Capacity(), 0u);
}

TEST(SearchTabModelTest, SelectionRulesForProgramAndUser) {
    SearchTabModel model;
    model.Add("a", -1, 5);
    model.Add("b", -1, 6);
    model.Add("c", -1, 7);
    model.SetEnabled(0, false);
    EXPECT_FALSE(model.Select(0));
    EXPECT_EQ(model.Selected(), 2);
    EXPECT_TRUE(model.Select(2));
    EXPECT_FALSE(model.Select(3));
    EXPECT_FALSE(model.Select(-1));

    EXPECT_EQ(model.SelectByUser(1), std::optional<int>(6));
    EXPECT_EQ(model.PreviousSelection(), 2);
    EXPECT_EQ(model.SelectByUser(1), std::nullopt);
    EXPECT_EQ(model.SelectByUser(0), std::nullopt);
    EXPECT_EQ(model.SelectByUser(-1), std::nullopt);
    EXPECT_EQ(model.Selected(), 1);
}

TEST(FlagArrayTest, GrowsInStepsOfAnEighthBetween4And1024) {
    FlagArray flags;
    flags.Add(1);
    EXPECT_EQ(flags.Capacity(), 4u);
    for (int i = 0; i < 4; ++i) {
        flags.Add(1);
    }
    EXPECT_EQ(flags.Capacity(), 8u);
    flags.SetSize(64);
    flags.Add(1);
    EXPECT_EQ(flags.Capacity(), 64u + 8u);
    flags.SetSize(9000);
    EXPECT_EQ(flags.Size(), 9000u);
    flags.Add(1);
    EXPECT_EQ(flags.Capacity(), 9000u + 1024u);
    // A request beyond one step takes exactly what was asked.
    FlagArray big;
    big.SetSize(100);
    EXPECT_EQ(big.Capacity(), 100u);
    big.SetSize(150);
    EXPECT_EQ(big.Capacity(), 150u);
}

TEST(FlagArrayTest, NewEntriesAreZeroAndRemovalShiftsDown) {
    FlagArray flags;
    flags.Add(1);
    flags.Add(2);
    flags.Add(3);
    flags.SetSize(5);
    EXPECT_EQ(flags.At(3), 0u);
    EXPECT_EQ(flags.At(4), 0u);
    flags.RemoveAt(0);
    EXPECT_EQ(flags.At(0), 2u);
    EXPECT_EQ(flags.At(1), 3u);
    EXPECT_EQ(flags.Size(), 4u);
    flags.SetSize(2);
    flags.SetSize(4);
    EXPECT_EQ(flags.At(2), 0u);
    flags.RemoveAt(10);
    EXPECT_EQ(flags.Size(), 4u);
    EXPECT_EQ(flags.At(10), 0u);
}

TEST(SearchTabColourTest, UnsetColoursFallBackToTheSystemOnes) {
    SystemColours system;
    system.buttonText = Rgb{1, 1, 1};
    system.greyText = Rgb{2, 2, 2};
    TabColours colours;
    EXPECT_EQ(TabTitleColour(colours, system, true, true, false), system.buttonText);
    EXPECT_EQ(TabTitleColour(colours, system, true, false, true), system.buttonText);
    EXPECT_EQ(TabTitleColour(colours, system, false, true, true), system.greyText);
    colours.selected = Rgb{0, 0, 255};
    colours.hover = Rgb{0, 0, 0};
    colours.normal = Rgb{9, 9, 9};
    colours.disabled = Rgb{8, 8, 8};
    EXPECT_EQ(TabTitleColour(colours, system, true, true, true), (Rgb{0, 0, 255}));
    EXPECT_EQ(TabTitleColour(colours, system, true, false, true), (Rgb{0, 0, 0}));
    EXPECT_EQ(TabTitleColour(colours, system, true, false, false), (Rgb{9, 9, 9}));
    EXPECT_EQ(TabTitleColour(colours, system, false, false, true), (Rgb{8, 8, 8}));
}

}  // namespace
}  // namespace korvana
