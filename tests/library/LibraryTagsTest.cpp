#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "library/LibraryModel.h"

namespace korvana::test {
namespace {

using Step = RowChange<LibraryEntry>;
using Kind = Step::Kind;

// A view's copy of the rows, brought up to date by the library's steps.
struct Mirror {
    std::vector<LibraryEntry> rows;
    std::vector<Kind> kinds;

    void Take(LibraryModel& model) {
        kinds.clear();
        for (Step& step : model.TakeChanges()) {
            kinds.push_back(step.kind);
            ApplyRowChanges(rows, {std::move(step)});
        }
    }
    std::size_t Count(Kind kind) const {
        return static_cast<std::size_t>(std::count(kinds.begin(), kinds.end(), kind));
    }
};

LibraryEntry Entry(const std::string& name, std::int64_t size) {
    return MakeLibraryEntry("/dl/" + name, size, 1000);
}

LibraryEntry Tagged(LibraryEntry entry, std::string artist, int length = 0) {
    entry.tags.artist = std::move(artist);
    entry.tags.title = "t-" + entry.fileName;
    entry.tags.lengthSeconds = length;
    return entry;
}

std::vector<std::string> Names(const std::vector<LibraryEntry>& rows) {
    std::vector<std::string> names;
    for (const LibraryEntry& row : rows) {
        names.push_back(row.fileName);
    }
    return names;
}

TEST(LibraryTags, TagsFillShownRowsInPlaceWhenTheSortIsNotByThem) {
    LibraryModel model;
    Mirror view;
    model.ApplyScan({Entry("a.mp3", 30), Entry("b.mp3", 20), Entry("c.mp3", 10)});
    view.Take(model);
    model.ApplyTags({Tagged(Entry("c.mp3", 10), "Zed"), Tagged(Entry("a.mp3", 30), "Abe")});
    view.Take(model);
    EXPECT_EQ(view.kinds, (std::vector<Kind>{Kind::Changed, Kind::Changed}));
    EXPECT_EQ(view.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(model.Rows()[0].tags.artist, "Abe");
    EXPECT_EQ(model.Rows()[2].tags.artist, "Zed");
    EXPECT_EQ(model.Listing()[2].tags.artist, "Zed");
}

TEST(LibraryTags, TagsReadFromAnOlderStateOfTheFileAreDropped) {
    LibraryModel model;
    model.ApplyScan({Entry("a.mp3", 30)});
    model.TakeChanges();
    LibraryEntry older = Tagged(Entry("a.mp3", 29), "Old");
    model.ApplyTags({older});
    older.size = 30;
    older.modified = 999;
    model.ApplyTags({older});
    EXPECT_TRUE(model.TakeChanges().empty());
    EXPECT_EQ(model.Rows()[0].tags, TrackTags{});
}

TEST(LibraryTags, ScatteredTagsPastTheLimitReachTheViewAsOneChange) {
    LibraryModel model;
    Mirror view;
    std::vector<LibraryEntry> listing;
    for (int i = 0; i < 300; ++i) {
        listing.push_back(Entry("f" + std::to_string(i), i));
    }
    model.ApplyScan(listing);
    view.Take(model);
    std::vector<LibraryEntry> tagged;
    for (int i = 0; i < 300; i += 2) {
        tagged.push_back(Tagged(listing[static_cast<std::size_t>(i)], "x"));
    }
    model.ApplyTags(tagged);
    view.Take(model);
    EXPECT_EQ(view.kinds, (std::vector<Kind>{Kind::Changed}));
    EXPECT_EQ(view.rows, model.Rows());
}

TEST(LibraryTags, SortedByATagRowsMoveToTheirPlaceAndBlanksStayLast) {
    LibraryModel model;
    Mirror view;
    model.ApplyScan({Entry("a", 1), Entry("b", 2), Entry("c", 3), Entry("d", 4)});
    model.ClickColumn(kArtistColumn);
    model.ClickColumn(kArtistColumn);
    ASSERT_EQ(model.Sort(), (LibrarySort{kArtistColumn, true}));
    view.Take(model);
    model.ApplyTags({Tagged(Entry("c", 3), "beta"), Tagged(Entry("a", 1), "Gamma"),
                     Tagged(Entry("d", 4), "ALPHA")});
    view.Take(model);
    EXPECT_EQ(view.Count(Kind::Reset), 0u);
    EXPECT_GT(view.Count(Kind::Moved), 0u);
    EXPECT_EQ(view.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"d", "c", "a", "b"}));
    model.ClickColumn(kArtistColumn);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"a", "c", "d", "b"}));
}

TEST(LibraryTags, ManyTagsInATagSortReorderTheRowsWithoutAReset) {
    LibraryModel model;
    Mirror view;
    std::vector<LibraryEntry> listing;
    for (int i = 0; i < 200; ++i) {
        listing.push_back(Entry("f" + std::to_string(i), i));
    }
    model.ApplyScan(listing);
    model.ClickColumn(kLengthColumn);
    view.Take(model);
    std::vector<LibraryEntry> tagged;
    for (int i = 0; i < 200; ++i) {
        tagged.push_back(Tagged(listing[static_cast<std::size_t>(i)], "x", (i * 37) % 200 + 1));
    }
    model.ApplyTags(tagged);
    view.Take(model);
    EXPECT_EQ(view.Count(Kind::Reset), 0u);
    EXPECT_EQ(view.Count(Kind::Reordered), 1u);
    EXPECT_EQ(view.rows, model.Rows());
    ASSERT_EQ(model.Rows().size(), 200u);
    EXPECT_EQ(model.Rows().front().tags.lengthSeconds, 200);
    EXPECT_EQ(model.Rows().back().tags.lengthSeconds, 1);
}

TEST(LibraryFilter, ShowsRowsWhoseNameOrTagsHoldEveryWord) {
    LibraryModel model;
    Mirror view;
    model.ApplyScan({Tagged(Entry("rain.mp3", 4), "Mira Kestrel"),
                     Tagged(Entry("kestrel live.mp3", 3), "Someone"),
                     Tagged(Entry("other.mp3", 2), "Nobody")});
    view.Take(model);
    model.SetFilter(WordFilter("KESTREL"));
    view.Take(model);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"rain.mp3", "kestrel live.mp3"}));
    model.SetFilter(WordFilter("kestrel ra"));
    view.Take(model);
    // Typing more only takes rows away: the view keeps the rest.
    EXPECT_EQ(view.kinds, (std::vector<Kind>{Kind::Removed}));
    EXPECT_EQ(view.rows, model.Rows());
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"rain.mp3"}));
    model.SetFilter(WordFilter("t-other"));
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"other.mp3"}));
    // No word spans two fields.
    model.SetFilter(WordFilter("mp3mira"));
    EXPECT_TRUE(model.Rows().empty());
    model.SetFilter(WordFilter(" "));
    view.Take(model);
    EXPECT_EQ(view.rows, model.Rows());
    EXPECT_EQ(model.Rows().size(), 3u);
    EXPECT_EQ(model.Listing().size(), 3u);
}

TEST(LibraryFilter, ArrivalsAndTagsFollowTheFilter) {
    LibraryModel model;
    Mirror view;
    model.ApplyScan({Entry("a.mp3", 4), Entry("b.mp3", 3)});
    model.SetFilter(WordFilter("kestrel"));
    view.Take(model);
    EXPECT_TRUE(model.Rows().empty());
    model.ApplyScan(
        {Entry("a.mp3", 4), Entry("b.mp3", 3), Entry("kestrel.mp3", 2), Entry("other.mp3", 1)});
    view.Take(model);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"kestrel.mp3"}));
    model.ApplyTags({Tagged(Entry("b.mp3", 3), "Kestrel"), Tagged(Entry("kestrel.mp3", 2), "x")});
    view.Take(model);
    EXPECT_EQ(Names(model.Rows()), (std::vector<std::string>{"b.mp3", "kestrel.mp3"}));
    model.SetFilter(WordFilter("kestrel t-b"));
    model.ApplyTags({Tagged(Entry("b.mp3", 3), "Someone else")});
    view.Take(model);
    EXPECT_TRUE(model.Rows().empty());
    EXPECT_EQ(view.rows, model.Rows());
}

// Every file gone while the filter hid them all must not come back when
// the filter is cleared.
TEST(LibraryFilter, AListHiddenWhollyStillFollowsTheFolder) {
    LibraryModel model;
    model.ApplyScan({Entry("a.mp3", 4), Entry("b.mp3", 3)});
    model.SetFilter(WordFilter("nothing"));
    model.ApplyScan({});
    model.SetFilter(WordFilter());
    EXPECT_TRUE(model.Rows().empty());
    EXPECT_TRUE(model.Listing().empty());
}

}  // namespace
}  // namespace korvana::test
