#include "search/SearchPageRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "search/SearchPageLayout.h"

namespace korvana {
namespace {

FilterValues Filters(std::initializer_list<std::pair<Filter, std::string>> values) {
    FilterValues filters;
    for (const auto& [filter, value] : values) {
        filters[static_cast<std::size_t>(filter)] = value;
    }
    return filters;
}

TEST(StartSearch, KeywordIsTheTermAndFiltersGoToTheCoreAsTyped) {
    const auto start = MakeSearchStart("blues", Filters({{Filter::Bitrate, "128"}}));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->term, "blues");
    EXPECT_EQ(start->terms.keywords, "blues");
    EXPECT_EQ(start->terms.bitrate, "128");
    EXPECT_EQ(start->terms.artist, "");
}

TEST(StartSearch, OnlyTheTitleFilledMakesItTheTermWithAnEmptyKeyword) {
    const auto start = MakeSearchStart("Enter a keyword", Filters({{Filter::Title, "Idle Loop"}}));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->term, "Idle Loop");
    EXPECT_EQ(start->terms.keywords, "");
    EXPECT_EQ(start->terms.title, "Idle Loop");
}

TEST(StartSearch, FiltersGiveTheTermInTheirOwnOrder) {
    const FilterValues all = Filters({{Filter::MinSize, "1"},
                                      {Filter::MaxSize, "9"},
                                      {Filter::Bitrate, "128"},
                                      {Filter::Artist, "A"},
                                      {Filter::Title, "T"},
                                      {Filter::Album, "L"}});
    EXPECT_EQ(MakeSearchStart("", all)->term, "A");
    EXPECT_EQ(MakeSearchStart("", Filters({{Filter::Album, "L"}, {Filter::Bitrate, "1"}}))->term,
              "L");
    EXPECT_EQ(MakeSearchStart("", Filters({{Filter::MaxSize, "9"}, {Filter::Bitrate, "1"}}))->term,
              "1");
    EXPECT_EQ(MakeSearchStart("", Filters({{Filter::MaxSize, "9"}, {Filter::MinSize, "2"}}))->term,
              "2");
}

TEST(StartSearch, SizeFiltersInMegabytesGoToTheCoreAsBytes) {
    const auto start =
        MakeSearchStart("blues", Filters({{Filter::MinSize, "3"}, {Filter::MaxSize, " 10 "}}));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->terms.minSize, "3145728");
    EXPECT_EQ(start->terms.maxSize, "10485760");
    EXPECT_EQ(MakeSearchStart("blues", {})->terms.minSize, "");
}

TEST(SizeFilter, MegabytesBecomeWholeBytesInDecimal) {
    EXPECT_EQ(MegabytesAsBytes(""), "");
    EXPECT_EQ(MegabytesAsBytes("  "), "");
    EXPECT_EQ(MegabytesAsBytes("0"), "0");
    EXPECT_EQ(MegabytesAsBytes("2.5"), "2621440");
    EXPECT_EQ(MegabytesAsBytes(".5"), "524288");
    EXPECT_EQ(MegabytesAsBytes("1."), "1048576");
    EXPECT_EQ(MegabytesAsBytes("0.0000001"), "0");  // less than a byte
    EXPECT_EQ(MegabytesAsBytes("1000000"), "1048576000000");
    for (const std::string text : {"abc", "-3", "+3", "3MB", "1,5", "1.2.3", ".", "1 000",
                                   "1000000.5", "1000001", "99999999999"}) {
        EXPECT_EQ(MegabytesAsBytes(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(SizeFilter, EachRowThatIsNotANumberIsNamed) {
    EXPECT_EQ(SizeFilterProblem(Filters({{Filter::MinSize, "3"}, {Filter::Bitrate, "x"}})), "");
    EXPECT_EQ(SizeFilterProblem(Filters({{Filter::MinSize, "abc"}, {Filter::MaxSize, "-1"}})),
              "\"Min Size (MB)\" must be a number of megabytes, such as 3 or 2.5 (at most "
              "1000000).\n\"Max Size (MB)\" must be a number of megabytes, such as 3 or 2.5 (at "
              "most 1000000).");
}

TEST(StartSearch, PlaceholderInAnyLetterCaseCountsAsEmpty) {
    EXPECT_FALSE(MakeSearchStart("enter a keyword", {}));
    EXPECT_FALSE(MakeSearchStart("ENTER A KEYWORD", {}));
    EXPECT_FALSE(MakeSearchStart("", {}));
    EXPECT_TRUE(MakeSearchStart("enter a keyword!", {}));
}

class FindTest : public ::testing::Test {
  protected:
    FindOutcome Find(std::string_view text, int position) {
        return FindRow(
            static_cast<int>(names_.size()), [this](int row) { return names_[row]; }, text,
            position);
    }
    std::vector<std::string> names_ = {"Alpha.mp3", "beta.MP3", "ALPHABET.mp3", "gamma.ogg"};
};

TEST_F(FindTest, FindsTheNextRowThatHoldsTheTextInAnyLetterCase) {
    EXPECT_EQ(Find("ALPHA", -1).row, 0);
    const FindOutcome next = Find("alpha", 0);
    EXPECT_EQ(next.row, 2);
    EXPECT_EQ(next.status, "");
    EXPECT_EQ(Find(".mp3", 1).row, 2);
}

TEST_F(FindTest, EmptyTextSelectsTheNextRow) {
    EXPECT_EQ(Find("", -1).row, 0);
    EXPECT_EQ(Find("", 2).row, 3);
}

TEST_F(FindTest, PastTheLastMatchItWrapsAndATextFoundNowhereIsNotFound) {
    const FindOutcome wrapped = Find("alpha", 2);
    EXPECT_EQ(wrapped.row, 0);
    EXPECT_EQ(wrapped.status, "   Search        wrapped");
    const FindOutcome fromTop = Find("delta", -1);
    EXPECT_EQ(fromTop.row, -1);
    EXPECT_EQ(fromTop.status, "   Term(s)       not found");
    const FindOutcome afterWrap = Find("delta", 1);
    EXPECT_EQ(afterWrap.row, -1);
    EXPECT_EQ(afterWrap.status, "   Term(s)       not found");
    names_.clear();
    EXPECT_EQ(Find("", -1).row, -1);
}

TEST(SearchPageLayout, ATallerFilterListPushesTheResultsDown) {
    const Rect client{0, 0, 900, 600};
    const SearchPageLayout classic = LayOutSearchPage(client);
    EXPECT_EQ(classic.filters.bottom - classic.filters.top, 75);
    EXPECT_EQ(classic.results.top, 130);
    EXPECT_EQ(classic.results.bottom, 552);

    const SearchPageLayout tall = LayOutSearchPage(client, 140);
    EXPECT_EQ(tall.filters.bottom - tall.filters.top, 140);
    EXPECT_GT(tall.separator.top, tall.filters.bottom);
    EXPECT_EQ(tall.results.top, 195);
    EXPECT_EQ(tall.results.bottom, 552);  // the find area stays at the bottom
    EXPECT_EQ(tall.keyword, classic.keyword);
}

TEST(SearchPageLayout, NothingOverlapsAtTheMinimumSize) {
    const Size least = MinimumSearchPageSize(140);
    const SearchPageLayout layout = LayOutSearchPage(Rect{0, 0, least.width, least.height}, 140);
    EXPECT_GE(layout.results.bottom - layout.results.top, 80);
    EXPECT_LE(layout.picture.right, layout.findText.left);
    EXPECT_LE(layout.reset.right, layout.filters.left);
    EXPECT_GT(layout.filters.right - layout.filters.left, 150);
}

// The status text ("Core not connected") must be readable: nothing covers it.
TEST(SearchPageLayout, StatusTextIsCoveredByNothing) {
    const auto apart = [](const Rect& a, const Rect& b) {
        return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    };
    for (const int filterHeight : {0, 140}) {
        const Size least = MinimumSearchPageSize(filterHeight);
        const SearchPageLayout layout =
            LayOutSearchPage(Rect{0, 0, least.width, least.height}, filterHeight);
        for (const Rect& other : {layout.keyword, layout.startStop, layout.reset, layout.filters,
                                  layout.separator, layout.tabs, layout.results}) {
            EXPECT_TRUE(apart(layout.status, other));
        }
        EXPECT_GE(layout.status.right - layout.status.left, 200);
    }
}

TEST(SearchPageLayout, ColumnWidthsShareTheListWidth) {
    EXPECT_EQ(ResultColumnWidths(1075, false),
              (std::array<int, 7>{75, 400, 200, 150, 100, 150, 0}));
    EXPECT_EQ(ResultColumnWidths(545, true), (std::array<int, 7>{45, 200, 100, 75, 50, 75, 0}));
    EXPECT_EQ(FilterColumnWidths(400, false), (std::array<int, 2>{125, 275}));
    EXPECT_EQ(FilterColumnWidths(400, true), (std::array<int, 2>{50, 350}));
}

TEST(SearchPageLayout, TheFilterBoxAndTheProgressLineTakeFreeRoom) {
    const auto apart = [](const Rect& a, const Rect& b) {
        return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    };
    const SearchPageLayout wide = LayOutSearchPage(Rect{0, 0, 1280, 860});
    EXPECT_TRUE(apart(wide.filterBox, wide.tabs));
    EXPECT_TRUE(apart(wide.filterBox, wide.removeButton));
    EXPECT_TRUE(apart(wide.filterBox, wide.results));
    EXPECT_LE(wide.filterBox.bottom, wide.results.top);
    EXPECT_GE(wide.filterBox.Width(), 150);
    for (const Rect& other : {wide.downloadSelected, wide.picture, wide.findText, wide.results}) {
        EXPECT_TRUE(apart(wide.progress, other));
    }
    EXPECT_GE(wide.progress.Width(), 500);
    // Too narrow for a useful line: none.
    const Size least = MinimumSearchPageSize(kMinFilterListHeight);
    EXPECT_TRUE(LayOutSearchPage(Rect{0, 0, least.width, least.height}).progress.Empty());
    EXPECT_GT(LayOutSearchPage(Rect{0, 0, least.width, least.height}).tabs.Width(), 200);
}

}  // namespace
}  // namespace korvana
