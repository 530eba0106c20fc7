#include <gtest/gtest.h>

#include <thread>

#include "SearchTestSupport.h"
#include "search/ProbeHeader.h"
#include "search/ProbePacer.h"
#include "search/SearchModel.h"
#include "tools/sim/web/SimWebServer.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::ManualProbes;
using test::OkHeader;

TEST(ProbeHeader, SizeComesOnlyFromAnOkStatusWithAPositiveLength) {
    EXPECT_EQ(SizeFromHeader(OkHeader(4321)), 4321);
    EXPECT_EQ(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-length: 12\r\nX: y"), 12);
    EXPECT_EQ(SizeFromHeader("HTTP/1.1 200 OK\r\ncontent-LENGTH:  5000000000 \r\n"), 5000000000);
    EXPECT_EQ(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: 7\r\nContent-Length: 9"), 7);

    EXPECT_FALSE(SizeFromHeader(""));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 404 Not Found\r\nContent-Length: 12"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 206 Partial\r\nContent-Length: 12"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Type: audio/mpeg"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: 0"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: -5"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: many"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999"));
    // A field whose name only ends in the right words is another field.
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nX-Original-Content-Length: 12"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 2"));
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1"));
}

using TimePoint = ProbePacer::TimePoint;

// The pacer stepped by the test at the times it names, over probes that wait
// until the test runs them; the pacing task is never woken.
class SizeProbeTest : public ::testing::Test {
  protected:
    SizeProbeTest() {
        auto probes = std::make_unique<ManualProbes>();
        probes_ = probes.get();
        pacer_ = std::make_unique<ProbePacer>(model_, std::move(probes));
        id_ = model_.TakeNextSearchId();
        model_.OpenSearch(id_);
        model_.ShowSearch(id_);
    }

    std::string AddWeb(int n) {
        const std::string link = "http://127.0.0.1/" + std::to_string(n) + ".mp3";
        model_.AddWebResult(id_, link, std::to_string(n) + ".mp3", WebEngineId::Engine1);
        return link;
    }
    // Steps the pacer at `ms` milliseconds after the start.
    std::optional<TimePoint> PaceAt(int ms) {
        return pacer_->Pace(start_ + std::chrono::milliseconds(ms));
    }
    // Steps the pacer as its task would, from `ms` on, until no result
    // waits or every slot is taken; returns the time then.
    int PaceWhileDue(int ms) {
        for (std::optional<TimePoint> next = PaceAt(ms); next && *next != TimePoint::max();
             next = PaceAt(ms)) {
            ms = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(*next - start_).count());
        }
        return ms;
    }
    ListChanges Take() {
        ListChanges changes = model_.TakeListChanges(listed_);
        ApplyRowChanges(listed_, changes.steps);
        return changes;
    }

    const TimePoint start_ = TimePoint() + std::chrono::hours(1);
    SearchModel model_;
    ManualProbes* probes_ = nullptr;
    std::unique_ptr<ProbePacer> pacer_;
    std::int32_t id_ = 0;
    std::vector<ListedRow> listed_;
};

TEST_F(SizeProbeTest, ProbesStartOnePerGapNewestFirstAndAtMostTenRun) {
    for (int i = 0; i < 15; ++i) {
        AddWeb(i);
    }
    // The first probe starts at once; the next is due a gap later, not before.
    EXPECT_EQ(PaceAt(0), start_ + ProbePacer::kProbeGap);
    EXPECT_EQ(PaceAt(249), start_ + ProbePacer::kProbeGap);
    ASSERT_EQ(probes_->waiting.size(), 1u);
    EXPECT_EQ(pacer_->RunningProbes(), 1);
    EXPECT_EQ(PaceWhileDue(250), 2500);
    EXPECT_EQ(probes_->waiting.size(), 10u);
    EXPECT_EQ(pacer_->RunningProbes(), 10);
    // Every slot taken: the pacer waits for a probe to end, whatever the time.
    EXPECT_EQ(PaceAt(60000), TimePoint::max());
    probes_->RunNext();
    EXPECT_EQ(probes_->fetched, std::vector<std::string>{"http://127.0.0.1/14.mp3"});
    EXPECT_EQ(pacer_->RunningProbes(), 9);
    PaceAt(60000);
    EXPECT_EQ(pacer_->RunningProbes(), 10);
    probes_->RunAll();
    EXPECT_EQ(pacer_->RunningProbes(), 0);
    PaceWhileDue(70000);
    probes_->RunAll();
    // Every result is probed once, the oldest last; then nothing waits.
    ASSERT_EQ(probes_->fetched.size(), 15u);
    EXPECT_EQ(probes_->fetched.back(), "http://127.0.0.1/0.mp3");
    EXPECT_FALSE(PaceAt(80000));
    EXPECT_FALSE(pacer_->Pacing());
}

TEST_F(SizeProbeTest, FailedProbesRemoveTheRowAndSuccessCountsAndShowsTheSize) {
    const std::string missing = AddWeb(1);
    const std::string noLength = AddWeb(2);
    const std::string empty = AddWeb(3);
    const std::string good = AddWeb(4);
    probes_->headers[missing] = "HTTP/1.0 404 Not Found\r\nContent-Length: 10";
    probes_->headers[noLength] = "HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg";
    probes_->headers[empty] = OkHeader(0);
    probes_->headers[good] = OkHeader(3'000'000'000LL);
    Take();
    ASSERT_EQ(listed_.size(), 4u);
    PaceWhileDue(0);
    probes_->RunAll();

    const ListChanges changes = Take();
    EXPECT_EQ(changes.counts, (std::vector<std::pair<std::int32_t, std::int32_t>>{{id_, 1}}));
    ASSERT_EQ(listed_.size(), 1u);
    EXPECT_EQ(ColumnText(listed_[0], ResultColumn::Size), "3000000000");
    const std::vector<ListedRow> rows = model_.ShowSearch(id_);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].result->Link(), good);
    EXPECT_EQ(StatusIcon(rows[0]), kIconWebComplete);
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Sources), "1");
}

TEST_F(SizeProbeTest, WithSizeAscendingAKnownSizeMovesTheRowFromTheUnknownRows) {
    test::HandOver(model_, test::MakeCoreResult(id_, 1, "core", 500));
    test::HandOver(model_, test::MakeCoreResult(id_, 2, "core", 1500));
    const std::string first = AddWeb(1);
    AddWeb(2);
    model_.SortBy(ResultColumn::Size);
    listed_ = model_.SortBy(ResultColumn::Size);
    const auto sizes = [this] {
        std::vector<std::string> texts;
        for (const ListedRow& row : listed_) {
            texts.push_back(ColumnText(row, ResultColumn::Size));
        }
        return texts;
    };
    EXPECT_EQ(sizes(), (std::vector<std::string>{"Unknown", "Unknown", "500", "1500"}));
    probes_->headers[first] = OkHeader(1000);
    // Newest first: the second web result is probed first and fails.
    PaceWhileDue(0);
    probes_->RunAll();
    Take();
    EXPECT_EQ(sizes(), (std::vector<std::string>{"500", "1000", "1500"}));
}

TEST_F(SizeProbeTest, StoppedSearchKeepsItsRowsAndStillCountsSuccessfulProbes) {
    const std::string link = AddWeb(1);
    test::HandOver(model_, test::MakeCoreResult(id_, 1, "core", 10));
    probes_->headers[link] = OkHeader(99);
    model_.StopSearch(id_);
    AddWeb(2);
    test::HandOver(model_, test::MakeCoreResult(id_, 2, "late", 10));
    PaceWhileDue(0);
    probes_->RunAll();
    EXPECT_EQ(model_.ShownCount(id_), 2);
    EXPECT_EQ(model_.ShowSearch(id_).size(), 2u);
}

TEST_F(SizeProbeTest, NoProbeForARemovedSearchNorAfterStopping) {
    AddWeb(1);
    model_.RemoveSearch(id_);
    EXPECT_FALSE(model_.ProbesWaiting());
    EXPECT_FALSE(PaceAt(0));
    EXPECT_TRUE(probes_->waiting.empty());
    const std::int32_t other = model_.TakeNextSearchId();
    model_.OpenSearch(other);
    model_.AddWebResult(other, "http://127.0.0.1/x.mp3", "x.mp3", WebEngineId::Engine1);
    pacer_->Stop();
    EXPECT_TRUE(probes_->stopped);
    EXPECT_FALSE(PaceAt(0));
    EXPECT_TRUE(probes_->fetched.empty());
}

// The real probes against the simulated web: a redirect is followed and the
// size comes from the answer at the new place.
TEST(HttpHeaderProbes, RedirectIsProbedAtItsNewLocation) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    const sim::SimTrack track = sim::DefaultWebCatalogue().front();
    const std::string path = "files/" + sim::PercentEncodePath(track.fileName);
    SearchModel model;
    ProbePacer pacer(model, nullptr, 1ms);
    model.OpenSearch(0);
    std::vector<ListedRow> listed = model.ShowSearch(0);
    model.AddWebResult(0, server.BaseUrl() + "/redirect/abs/" + path, "moved.mp3",
                       WebEngineId::Engine1);
    model.AddWebResult(0, server.BaseUrl() + "/status/404", "gone.mp3", WebEngineId::Engine1);
    ApplyRowChanges(listed, model.TakeListChanges(listed).steps);
    ASSERT_EQ(listed.size(), 2u);
    pacer.Wake();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while ((listed.size() != 1 || !listed[0].SizeKnown()) &&
           std::chrono::steady_clock::now() < deadline) {
        ApplyRowChanges(listed, model.TakeListChanges(listed).steps);
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].result->Name(), "moved.mp3");
    EXPECT_EQ(listed[0].size, static_cast<std::int64_t>(track.size));
    EXPECT_EQ(model.ShownCount(0), 1);
}

}  // namespace
}  // namespace korvana
