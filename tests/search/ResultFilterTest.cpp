#include <gtest/gtest.h>

#include "SearchTestSupport.h"
#include "search/KnownFiles.h"
#include "search/SearchModel.h"
#include "tests/web/WebTestSupport.h"
#include "web/archive/ArchiveAnswers.h"
#include "web/archive/ArchiveEngine.h"

namespace korvana {
namespace {

using test::HandOver;
using test::MakeCoreResult;

class ResultFilterTest : public ::testing::Test {
  protected:
    ResultFilterTest() {
        id_ = model_.TakeNextSearchId();
        model_.OpenSearch(id_);
        listed_ = model_.ShowSearch(id_);
    }

    void AddCore(std::int32_t resultId, const std::string& name, std::int64_t size) {
        HandOver(model_, MakeCoreResult(id_, resultId, name, size));
    }
    // The rows a view shows, kept up to date with the model's steps.
    void Take() { ApplyRowChanges(listed_, model_.TakeListChanges(listed_).steps); }
    void Filter(const std::string& typed) {
        listed_ = model_.FilterRows(WordFilter(typed), listed_);
    }
    static std::vector<std::string> Names(const std::vector<ListedRow>& rows) {
        std::vector<std::string> names;
        for (const ListedRow& row : rows) {
            names.emplace_back(row.result->Name());
        }
        return names;
    }

    SearchModel model_;
    std::int32_t id_ = 0;
    std::vector<ListedRow> listed_;
};

TEST_F(ResultFilterTest, TypingHidesTheRowsWithoutEveryWordAndKeepsTheOrder) {
    AddCore(1, "Love Me Do - The Beatles.mp3", 30);
    AddCore(2, "Yesterday - The Beatles.mp3", 10);
    AddCore(3, "Lovely Day - Bill Withers.mp3", 20);
    Take();
    Filter("love");
    EXPECT_EQ(Names(listed_), (std::vector<std::string>{"Lovely Day - Bill Withers.mp3",
                                                        "Love Me Do - The Beatles.mp3"}));
    Filter("LOVE beat");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"Love Me Do - The Beatles.mp3"});
    EXPECT_TRUE(model_.Filtered());
}

TEST_F(ResultFilterTest, WideningTheWordsBringsHiddenRowsBackAndEmptyShowsAll) {
    AddCore(1, "alpha.mp3", 1);
    AddCore(2, "beta.mp3", 2);
    AddCore(3, "alphabet.mp3", 3);
    Take();
    Filter("alphab");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"alphabet.mp3"});
    // Widening shows the search again, in the order showing it gives.
    Filter("alph");
    EXPECT_EQ(Names(listed_), (std::vector<std::string>{"alpha.mp3", "alphabet.mp3"}));
    Filter("");
    EXPECT_EQ(listed_.size(), 3u);
    EXPECT_FALSE(model_.Filtered());
}

// Narrowing works from the rows on screen: rows the screen never had (the
// model's changes not yet taken) are not invented by it.
TEST_F(ResultFilterTest, NarrowingTestsOnlyTheRowsShownAndTheirPendingChangesStillArrive) {
    AddCore(1, "song one.mp3", 1);
    Take();
    AddCore(2, "song two.mp3", 2);
    AddCore(3, "other.mp3", 3);
    Filter("song");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"song one.mp3"});
    Take();
    EXPECT_EQ(Names(listed_), (std::vector<std::string>{"song two.mp3", "song one.mp3"}));
}

TEST_F(ResultFilterTest, ArrivalsWhileFilteredListOnlyWhenShownAndInTheirSortedPlace) {
    model_.SortBy(ResultColumn::Size);  // largest first
    listed_ = model_.ShowSearch(id_);
    Filter("live");
    for (int i = 1; i <= 40; ++i) {
        AddCore(i, (i % 3 == 0 ? "live take " : "studio take ") + std::to_string(i) + ".mp3",
                (i * 37) % 101);
    }
    model_.AddWebResult(id_, "http://127.0.0.1/a", "live web.mp3", WebEngineId::Engine1);
    model_.AddWebResult(id_, "http://127.0.0.1/b", "studio web.mp3", WebEngineId::Engine1);
    Take();
    // A hidden web row's size arriving later must not bring it in.
    ProbeJob first = model_.TakeNextToProbe();
    ProbeJob second = model_.TakeNextToProbe();
    model_.ReportProbe(first, 1000);
    model_.ReportProbe(second, 1001);
    Take();
    // What the view shows is exactly what showing the search afresh gives.
    const std::vector<ListedRow> fresh = model_.ShowSearch(id_);
    EXPECT_EQ(Names(listed_), Names(fresh));
    EXPECT_EQ(listed_.size(), 14u);
    for (const std::string& name : Names(listed_)) {
        EXPECT_NE(name.find("live"), std::string::npos) << name;
    }
}

TEST_F(ResultFilterTest, SortingOrSwitchingSearchesKeepsTheFilter) {
    AddCore(1, "live b.mp3", 20);
    AddCore(2, "studio.mp3", 30);
    AddCore(3, "live a.mp3", 10);
    Take();
    Filter("live");
    EXPECT_EQ(Names(model_.SortBy(ResultColumn::Size)),
              (std::vector<std::string>{"live b.mp3", "live a.mp3"}));
    const std::int32_t other = model_.TakeNextSearchId();
    model_.OpenSearch(other);
    HandOver(model_, MakeCoreResult(other, 1, "studio two.mp3", 5));
    HandOver(model_, MakeCoreResult(other, 2, "live two.mp3", 5));
    EXPECT_EQ(Names(model_.ShowSearch(other)), std::vector<std::string>{"live two.mp3"});
}

TEST(KnownFiles, NamesMatchInAnyLetterCaseWithTheirExtension) {
    KnownFiles known;
    EXPECT_TRUE(known.SetLibraryNames({"Song.MP3"}));
    EXPECT_TRUE(known.SetTransferNames({"coming.mp3", "song.mp3"}));
    EXPECT_EQ(known.Mark("song.mp3"), FileMark::InLibrary);  // the Library wins
    EXPECT_EQ(known.Mark("SONG.mp3"), FileMark::InLibrary);
    EXPECT_EQ(known.Mark("song.ogg"), FileMark::None);
    EXPECT_EQ(known.Mark("Coming.Mp3"), FileMark::Downloading);
    EXPECT_EQ(known.Mark("coming"), FileMark::None);
}

TEST(KnownFiles, ReplacingTheNamesSaysWhetherAnythingChanged) {
    KnownFiles known;
    EXPECT_TRUE(known.SetLibraryNames({"a.mp3", "b.mp3"}));
    EXPECT_FALSE(known.SetLibraryNames({"B.mp3", "a.mp3"}));
    EXPECT_TRUE(known.SetLibraryNames({"a.mp3"}));
    EXPECT_EQ(known.Mark("b.mp3"), FileMark::None);
    EXPECT_FALSE(known.SetTransferNames({}));
}

TEST(KnownFiles, TheQuestionNamesTheFilesAndCountsTheRest) {
    EXPECT_EQ(DownloadAgainQuestion({"a.mp3"}),
              "\"a.mp3\" is already in your Library. Download it again?");
    const std::string many = DownloadAgainQuestion({"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"});
    EXPECT_TRUE(many.starts_with("5 of the selected files are already in your Library:"));
    EXPECT_NE(many.find("c.mp3"), std::string::npos);
    EXPECT_EQ(many.find("d.mp3"), std::string::npos);
    EXPECT_NE(many.find("and 2 more"), std::string::npos);
    EXPECT_EQ(DownloadAgainQuestion({"a.mp3"}, FileMark::Downloading),
              "\"a.mp3\" is already in the transfer list. Download it again?");
}

TEST(ResultMarks, AMarkedResultShowsItsMarkAndTip) {
    auto result = std::make_shared<SearchResult>();
    result->fromCore = true;
    const ListedRow row{result, 1, ProbeState::New};
    EXPECT_EQ(StatusIcon(row, FileMark::None), kIconCore);
    EXPECT_EQ(StatusIcon(row, FileMark::InLibrary), kIconInLibrary);
    EXPECT_EQ(StatusIcon(row, FileMark::Downloading), kIconDownloading);
    EXPECT_EQ(MarkToolTip(FileMark::None), "");
    EXPECT_EQ(MarkToolTip(FileMark::InLibrary), "Already in your Library");
}

TEST_F(ResultFilterTest, TheArchiveHandsOverWhatItsMetadataTellsOfEachFile) {
    const std::string base = "http://127.0.0.1:4100";
    test::ScriptedFetcher fetcher;
    fetcher.Serve(ArchiveSearchUrl(base, "blue", 1),
                  R"({"response":{"numFound":1,"start":0,"docs":[)"
                  R"({"identifier":"a","title":"T","creator":"Nina Simone"}]}})");
    fetcher.Serve(ArchiveMetadataUrl(base, "a"),
                  R"({"files":[{"name":"01.mp3","format":"MP3","size":"9","title":"Sinnerman",)"
                  R"("album":"Pastel Blues"},{"name":"02.mp3","format":"MP3","size":"9",)"
                  R"("creator":"Someone Else","title":"Be My Husband"}]})");
    ASSERT_TRUE(ArchiveEngineTask(fetcher, model_, base, id_, "blue", {}));
    Take();
    // The first file has no creator of its own: the item's is its artist.
    Filter("nina sinnerman");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"01.mp3"});
    Filter("husband else");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"02.mp3"});
}

TEST_F(ResultFilterTest, AWebResultsTagsAreBoundedAndKeepNoLineBreaksOfTheirOwn) {
    KnownWebResult told{"http://127.0.0.1/long.mp3", "long.mp3", 10, ""};
    told.artist = std::string(100000, 'a');
    told.title = "two\nlines";
    told.album = std::string(100000, 'b');
    model_.AddKnownWebResult(id_, told, WebEngineId::Archive);
    Take();
    ASSERT_EQ(listed_.size(), 1u);
    const std::string_view tags = listed_[0].result->Tags();
    EXPECT_EQ(tags.size(), 2 * CoreTag::kMaxText + 11);
    EXPECT_EQ(tags.substr(CoreTag::kMaxText, 11), "\ntwo lines\n");
}

TEST_F(ResultFilterTest, WordsMayBeInTheNameOrInTheArtistTitleOrAlbumTags) {
    HandOver(model_, MakeCoreResult(id_, 1, "track01.mp3", 10, 1, "Nina Simone\nSinnerman"));
    HandOver(model_, MakeCoreResult(id_, 2, "simone live.mp3", 10, 1, ""));
    HandOver(model_, MakeCoreResult(id_, 3, "track02.mp3", 10, 1, "Nina\nSimone"));
    KnownWebResult archived{"http://127.0.0.1/d/t3.mp3", "t3.mp3", 10, ""};
    archived.artist = "Nina Simone";
    archived.album = "Pastel Blues";
    model_.AddKnownWebResult(id_, archived, WebEngineId::Archive);
    Take();
    Filter("simone");
    EXPECT_EQ(Names(listed_), (std::vector<std::string>{"t3.mp3", "track02.mp3", "simone live.mp3",
                                                        "track01.mp3"}));
    // One word from the name and one from a tag.
    Filter("simone track");
    EXPECT_EQ(Names(listed_), (std::vector<std::string>{"track02.mp3", "track01.mp3"}));
    Filter("simone pastel");
    EXPECT_EQ(Names(listed_), std::vector<std::string>{"t3.mp3"});
    // A word is never made of the end of one tag and the start of the next.
    Filter("ninasimone");
    EXPECT_TRUE(listed_.empty());
}

}  // namespace
}  // namespace korvana
