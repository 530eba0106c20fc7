#include "search/SearchModel.h"

#include <gtest/gtest.h>

#include "tests/support/CountingChangeListener.h"

#include <algorithm>

#include "SearchTestSupport.h"

namespace korvana {
namespace {

using test::HandOver;
using test::MakeCoreResult;

class SearchModelTest : public ::testing::Test {
  protected:
    SearchModelTest() { model_ = std::make_unique<SearchModel>(); }

    std::int32_t Open() {
        const std::int32_t id = model_->TakeNextSearchId();
        model_->OpenSearch(id);
        return id;
    }
    std::vector<std::string> Names(const std::vector<ListedRow>& rows) const {
        std::vector<std::string> names;
        for (const ListedRow& row : rows) {
            names.emplace_back(row.result->Name());
        }
        return names;
    }
    std::vector<std::string> Column(const std::vector<ListedRow>& rows, ResultColumn column) const {
        std::vector<std::string> texts;
        for (const ListedRow& row : rows) {
            texts.push_back(ColumnText(row, column));
        }
        return texts;
    }

    // The rows a view shows, kept up to date with the model's steps.
    ListChanges Take() {
        ListChanges changes = model_->TakeListChanges(listed_);
        ApplyRowChanges(listed_, changes.steps);
        return changes;
    }

    std::unique_ptr<SearchModel> model_;
    std::vector<ListedRow> listed_;
};

TEST_F(SearchModelTest, SearchIdsCountUpAndStoppedRemovedOrUnknownSearchesTakeNoResults) {
    EXPECT_EQ(model_->TakeNextSearchId(), 0);
    EXPECT_EQ(model_->TakeNextSearchId(), 1);
    EXPECT_TRUE(model_->IsSearchStopped(1));
    model_->OpenSearch(1);
    model_->OpenSearch(1);
    EXPECT_FALSE(model_->IsSearchStopped(1));
    model_->StopSearch(1);
    EXPECT_TRUE(model_->IsSearchStopped(1));
    model_->OpenSearch(0);
    model_->RemoveSearch(0);
    // Results of stopped, removed and unknown searches are dropped.
    for (std::int32_t id : {1, 0, 77}) {
        HandOver(*model_, MakeCoreResult(id, 1, "core", 1));
        model_->AddWebResult(id, "http://127.0.0.1/x", "web", WebEngineId::Engine1);
        EXPECT_TRUE(model_->ShowSearch(id).empty()) << id;
        EXPECT_EQ(model_->ShownCount(id), 0);
    }
}

TEST_F(SearchModelTest, CoreResultShowsItsColumnsInFullSixtyFourBits) {
    const std::int32_t id = Open();
    auto result = MakeCoreResult(id, 42, "Song.mp3", 5'000'000'000LL, 2);
    result->bitrate = 192;
    result->sources = 7;
    HandOver(*model_, result);
    HandOver(*model_, MakeCoreResult(id, 43, "Plain.mp3", 10, 9));

    const std::vector<ListedRow> rows = model_->ShowSearch(id);
    ASSERT_EQ(rows.size(), 2u);
    // Unsorted: each row went to the top in turn, the oldest last.
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Song.mp3", "Plain.mp3"}));
    EXPECT_EQ(StatusIcon(rows[0]), kIconCore);
    EXPECT_EQ(Column(rows, ResultColumn::Size), (std::vector<std::string>{"5000000000", "10"}));
    EXPECT_EQ(Column(rows, ResultColumn::Net), (std::vector<std::string>{"BitTorrent", "unknown"}));
    EXPECT_EQ(Column(rows, ResultColumn::Sources), (std::vector<std::string>{"7", "1"}));
    EXPECT_EQ(Column(rows, ResultColumn::Info), (std::vector<std::string>{"192 kbps", ""}));
    EXPECT_EQ(Column(rows, ResultColumn::Link), (std::vector<std::string>{"42", "43"}));
    EXPECT_EQ(model_->ShownCount(id), 2);
}

// A removed search's results are freed as soon as no row shows them and no
// probe works on one of them, so memory follows the searches the user keeps.
TEST_F(SearchModelTest, RemovedSearchesFreeTheirResultsOnceNothingShowsOrProbesThem) {
    const std::int32_t quiet = Open();
    const std::int32_t shown = Open();
    const std::int32_t probed = Open();
    const auto a = MakeCoreResult(quiet, 1, "a", 1);
    const auto b = MakeCoreResult(shown, 2, "b", 1);
    const auto c = MakeCoreResult(probed, 3, "c", 1);
    for (const auto& result : {a, b, c}) {
        HandOver(*model_, result);
    }
    ASSERT_TRUE(
        model_->AddWebResult(probed, "http://127.0.0.1/c.mp3", "c.mp3", WebEngineId::Engine1));
    ProbeJob job = model_->TakeNextToProbe();
    ASSERT_TRUE(job);
    std::vector<ListedRow> rows = model_->ShowSearch(shown);
    const auto kept = [](const test::HandedCoreResult& result) {
        return result.record.use_count() > 1;
    };

    model_->RemoveSearch(quiet);
    EXPECT_FALSE(kept(a));
    model_->RemoveSearch(shown);
    EXPECT_TRUE(kept(b));  // its rows are on screen
    EXPECT_EQ(rows[0].result->Name(), "b");
    model_->RemoveSearch(probed);
    EXPECT_TRUE(kept(c));  // a probe works on one of its results
    EXPECT_EQ(model_->ShownCount(probed), 0);

    model_->ShowSearch(-1);
    EXPECT_TRUE(kept(b));  // until the rows on screen are replaced
    rows.clear();
    EXPECT_FALSE(kept(b));
    model_->ReportProbe(job, 100);
    EXPECT_TRUE(kept(c));
    job = {};
    EXPECT_FALSE(kept(c));
    EXPECT_TRUE(model_->TakeListChanges({}).counts.empty());
}

// Rows queued for the list share their search too: removing the displayed
// search while a burst waits frees it once the queue is taken.
TEST_F(SearchModelTest, QueuedRowsOfARemovedSearchAreFreedWhenTaken) {
    const std::int32_t id = Open();
    model_->ShowSearch(id);
    const auto queued = MakeCoreResult(id, 1, "queued", 1);
    HandOver(*model_, queued);
    model_->RemoveSearch(id);
    EXPECT_GT(queued.record.use_count(), 1);
    EXPECT_TRUE(Take().steps.empty());
    EXPECT_EQ(queued.record.use_count(), 1);
}

TEST_F(SearchModelTest, TwoEnginesFindingOneLinkListItOnce) {
    const std::int32_t id = Open();
    EXPECT_TRUE(model_->AddWebResult(id, "http://127.0.0.1/A.mp3", "A.mp3", WebEngineId::Engine1));
    EXPECT_TRUE(model_->AddWebResult(id, "HTTP://127.0.0.1/a.MP3", "a.mp3", WebEngineId::Engine2));
    const std::int32_t other = Open();
    EXPECT_TRUE(
        model_->AddWebResult(other, "http://127.0.0.1/A.mp3", "A.mp3", WebEngineId::Engine3));

    const std::vector<ListedRow> rows = model_->ShowSearch(id);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(StatusIcon(rows[0]), kIconWebPending);
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Size), "Unknown");
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Net), "Web");
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Sources), "-");
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Link), "http://127.0.0.1/A.mp3");
    EXPECT_EQ(model_->ShowSearch(other).size(), 1u);
    // Web results count once their size is known, not before.
    EXPECT_EQ(model_->ShownCount(id), 0);
}

TEST_F(SearchModelTest, AResultWhoseSizeItsEngineToldIsListedCompleteAndNeverProbed) {
    const std::int32_t id = Open();
    listed_ = model_->ShowSearch(id);
    model_->AddKnownWebResult(id, {"http://127.0.0.1/told.mp3", "told.mp3", 4012345, "3:35"},
                              WebEngineId::Archive);
    // The same link from a page engine is the same result.
    model_->AddWebResult(id, "http://127.0.0.1/TOLD.mp3", "told.mp3", WebEngineId::Engine1);
    model_->AddKnownWebResult(id, {"http://127.0.0.1/bad.mp3", "bad.mp3", -1, ""},
                              WebEngineId::Archive);
    Take();
    ASSERT_EQ(listed_.size(), 1u);
    EXPECT_EQ(StatusIcon(listed_[0]), kIconWebComplete);
    EXPECT_NE(ColumnText(listed_[0], ResultColumn::Size), "Unknown");
    EXPECT_EQ(ColumnText(listed_[0], ResultColumn::Info), "3:35");
    EXPECT_EQ(ColumnText(listed_[0], ResultColumn::Sources), "1");
    EXPECT_EQ(model_->ShownCount(id), 1);
    EXPECT_FALSE(model_->ProbesWaiting());
    model_->StopSearch(id);
    model_->AddKnownWebResult(id, {"http://127.0.0.1/late.mp3", "late.mp3", 5, ""},
                              WebEngineId::Archive);
    EXPECT_EQ(model_->ShownCount(id), 1);
}

TEST_F(SearchModelTest, ShownResultsAreCountedByNetworkMostFirst) {
    const std::int32_t id = Open();
    EXPECT_EQ(model_->NetworkCountsText(id), "");
    HandOver(*model_, MakeCoreResult(id, 1, "a.mp3", 1, 1));
    HandOver(*model_, MakeCoreResult(id, 2, "b.mp3", 1, 1));
    HandOver(*model_, MakeCoreResult(id, 3, "c.mp3", 1, 2));
    model_->AddKnownWebResult(id, {"http://127.0.0.1/w.mp3", "w.mp3", 9, ""}, WebEngineId::Archive);
    model_->AddKnownWebResult(id, {"http://127.0.0.1/x.mp3", "x.mp3", 9, ""}, WebEngineId::Archive);
    model_->AddKnownWebResult(id, {"http://127.0.0.1/y.mp3", "y.mp3", 9, ""}, WebEngineId::Archive);
    // A web result still waiting for its size is not counted.
    model_->AddWebResult(id, "http://127.0.0.1/z.mp3", "z.mp3", WebEngineId::Engine1);
    EXPECT_EQ(model_->NetworkCountsText(id), "Web 3, Donkey 2, BitTorrent 1");
    EXPECT_EQ(model_->NetworkCountsText(id + 1), "");
}

TEST_F(SearchModelTest, ACoreResultReportedAgainToItsSearchIsOneRow) {
    const std::int32_t other = Open();
    const std::int32_t id = Open();
    model_->ShowSearch(id);
    HandOver(*model_, MakeCoreResult(id, 7, "love.mp3", 10));
    HandOver(*model_, MakeCoreResult(id, 7, "love.mp3", 10));
    // The core described the result again: a newer record of the same id.
    HandOver(*model_, MakeCoreResult(id, 7, "love (again).mp3", 10));
    HandOver(*model_, MakeCoreResult(id, 8, "other.mp3", 10));
    // Another search may list the same result.
    HandOver(*model_, MakeCoreResult(other, 7, "love.mp3", 10));
    HandOver(*model_, MakeCoreResult(other, 7, "love.mp3", 10));

    Take();
    EXPECT_EQ(listed_.size(), 2u);
    EXPECT_EQ(Names(model_->ShowSearch(id)), (std::vector<std::string>{"love.mp3", "other.mp3"}));
    EXPECT_EQ(model_->ShownCount(id), 2);
    EXPECT_EQ(Names(model_->ShowSearch(other)), (std::vector<std::string>{"love.mp3"}));
    EXPECT_EQ(model_->ShownCount(other), 1);
}

TEST_F(SearchModelTest, OnlyTheDisplayedSearchQueuesRowsAndOneDrainIsAskedFor) {
    test::CountingChangeListener listener;
    model_->Notice().SetListener(&listener);
    const std::int32_t shown = Open();
    const std::int32_t hidden = Open();
    model_->ShowSearch(shown);
    for (int i = 0; i < 50; ++i) {
        HandOver(*model_, MakeCoreResult(shown, i, "s" + std::to_string(i), i));
        HandOver(*model_, MakeCoreResult(hidden, i, "h", i));
    }
    EXPECT_EQ(listener.raised.load(), 1);
    const ListChanges changes = Take();
    EXPECT_EQ(listed_.size(), 50u);
    EXPECT_EQ(changes.counts,
              (std::vector<std::pair<std::int32_t, std::int32_t>>{{shown, 50}, {hidden, 50}}));
    HandOver(*model_, MakeCoreResult(shown, 99, "late", 1));
    EXPECT_EQ(listener.raised.load(), 2);
    // Showing the search again lists the late row and drops its event.
    EXPECT_EQ(model_->ShowSearch(shown).size(), 51u);
    EXPECT_TRUE(Take().steps.empty());
    model_->Notice().SetListener(nullptr);
}

TEST_F(SearchModelTest, RemovedSearchNeverReachesTheListEvenWhenAlreadyQueued) {
    const std::int32_t id = Open();
    model_->ShowSearch(id);
    HandOver(*model_, MakeCoreResult(id, 1, "queued", 1));
    model_->AddWebResult(id, "http://127.0.0.1/q", "queued web", WebEngineId::Engine1);
    model_->RemoveSearch(id);
    EXPECT_TRUE(Take().steps.empty());
    EXPECT_TRUE(model_->ShowSearch(id).empty());
    // As after Clear All Searches: nothing is shown whatever arrives.
    const std::int32_t other = Open();
    model_->ShowSearch(-1);
    model_->RemoveSearch(other);
    HandOver(*model_, MakeCoreResult(other, 1, "core", 1));
    model_->AddWebResult(other, "http://127.0.0.1/w", "web", WebEngineId::Engine1);
    EXPECT_TRUE(Take().steps.empty());
    EXPECT_TRUE(model_->ShowSearch(-1).empty());
}

TEST_F(SearchModelTest, SizeHeaderClickedTwiceSortsAscendingAndAThirdTimeDescending) {
    const std::int32_t id = Open();
    for (std::int64_t size : {30, 10, 20}) {
        HandOver(*model_, MakeCoreResult(id, static_cast<std::int32_t>(size), "r", size));
    }
    model_->ShowSearch(id);
    std::vector<ListedRow> rows = model_->SortBy(ResultColumn::Size);
    EXPECT_EQ(Column(rows, ResultColumn::Size), (std::vector<std::string>{"30", "20", "10"}));
    rows = model_->SortBy(ResultColumn::Size);
    EXPECT_EQ(Column(rows, ResultColumn::Size), (std::vector<std::string>{"10", "20", "30"}));
    EXPECT_EQ(model_->Ordering(), (RowOrdering{ResultColumn::Size, true}));
    rows = model_->SortBy(ResultColumn::Size);
    EXPECT_EQ(Column(rows, ResultColumn::Size), (std::vector<std::string>{"30", "20", "10"}));
    rows = model_->SortBy(ResultColumn::Filename);
    EXPECT_EQ(model_->Ordering(), (RowOrdering{ResultColumn::Filename, false}));
}

TEST_F(SearchModelTest, ShowingASearchEqualsInsertingItsResultsNewestFirst) {
    const std::int32_t id = Open();
    for (int i = 0; i < 40; ++i) {
        HandOver(*model_, MakeCoreResult(id, i, "c" + std::to_string(i % 3), (i * 7) % 5));
        model_->AddWebResult(id, "http://127.0.0.1/" + std::to_string(i), "w",
                             WebEngineId::Engine2);
    }
    model_->ShowSearch(id);
    for (const ResultColumn column : {ResultColumn::Size, ResultColumn::Filename}) {
        const std::vector<ListedRow> shown = model_->SortBy(column);
        const std::vector<ListedRow> walk = model_->ShowSearch(-1);
        // The rows as the model's walk meets them: the newest result first.
        std::vector<ListedRow> newestFirst;
        for (const ListedRow& row : shown) {
            newestFirst.push_back(row);
        }
        const auto arrival = [](const ListedRow& row) {
            return row.result->fromCore ? 2 * row.result->core->resultId
                                        : 2 * std::stoi(row.result->Link().substr(17)) + 1;
        };
        std::sort(newestFirst.begin(), newestFirst.end(),
                  [&](const ListedRow& a, const ListedRow& b) { return arrival(a) > arrival(b); });
        std::vector<ListedRow> inserted;
        for (const ListedRow& row : newestFirst) {
            const std::size_t at = InsertPosition(inserted, row, model_->Ordering());
            inserted.insert(inserted.begin() + static_cast<std::ptrdiff_t>(at), row);
        }
        ASSERT_EQ(shown.size(), 80u);
        EXPECT_TRUE(walk.empty());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].result, inserted[i].result) << i;
        }
        model_->ShowSearch(id);
    }
}

}  // namespace
}  // namespace korvana
