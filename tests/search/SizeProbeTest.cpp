#include <gtest/gtest.h>

#include <thread>

#include "SearchTestSupport.h"
#include "search/ProbeHeader.h"
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

class SizeProbeTest : public ::testing::Test {
  protected:
    SizeProbeTest() {
        auto probes = std::make_unique<ManualProbes>();
        probes_ = probes.get();
        model_ = std::make_unique<SearchModel>(std::move(probes));
        id_ = model_->TakeNextSearchId();
        model_->OpenSearch(id_);
        model_->ShowSearch(id_);
    }

    std::string AddWeb(int n) {
        const std::string link = "http://127.0.0.1/" + std::to_string(n) + ".mp3";
        model_->AddWebResult(id_, link, std::to_string(n) + ".mp3", WebEngineId::Engine1);
        return link;
    }

    ManualProbes* probes_ = nullptr;
    std::unique_ptr<SearchModel> model_;
    std::int32_t id_ = 0;
};

TEST_F(SizeProbeTest, OneProbeStartsPerTickNewestFirstAndAtMostTenRun) {
    for (int i = 0; i < 15; ++i) {
        AddWeb(i);
    }
    model_->ProbeTick();
    ASSERT_EQ(probes_->waiting.size(), 1u);
    EXPECT_EQ(model_->RunningProbes(), 1);
    for (int i = 0; i < 14; ++i) {
        model_->ProbeTick();
    }
    EXPECT_EQ(probes_->waiting.size(), 10u);
    EXPECT_EQ(model_->RunningProbes(), 10);
    probes_->RunNext();
    EXPECT_EQ(probes_->fetched, std::vector<std::string>{"http://127.0.0.1/14.mp3"});
    EXPECT_EQ(model_->RunningProbes(), 9);
    model_->ProbeTick();
    EXPECT_EQ(model_->RunningProbes(), 10);
    probes_->RunAll();
    EXPECT_EQ(model_->RunningProbes(), 0);
    for (int i = 0; i < 10; ++i) {
        model_->ProbeTick();
    }
    probes_->RunAll();
    // Every result is probed once; the oldest last.
    ASSERT_EQ(probes_->fetched.size(), 15u);
    EXPECT_EQ(probes_->fetched.back(), "http://127.0.0.1/0.mp3");
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
    model_->TakeListChanges();
    for (int i = 0; i < 4; ++i) {
        model_->ProbeTick();
    }
    probes_->RunAll();

    const ListChanges changes = model_->TakeListChanges();
    ASSERT_EQ(changes.events.size(), 4u);
    EXPECT_EQ(changes.events[0].kind, ListEvent::Kind::Sized);
    EXPECT_EQ(ColumnText(changes.events[0].row, ResultColumn::Size), "3000000000");
    EXPECT_EQ(changes.events[1].kind, ListEvent::Kind::Failed);
    EXPECT_EQ(changes.counts, (std::vector<std::pair<std::int32_t, std::int32_t>>{{id_, 1}}));

    const std::vector<ListedRow> rows = model_->ShowSearch(id_);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].result->Link(), good);
    EXPECT_EQ(StatusIcon(rows[0]), kIconWebComplete);
    EXPECT_EQ(ColumnText(rows[0], ResultColumn::Sources), "1");
}

TEST_F(SizeProbeTest, WithSizeAscendingAKnownSizeMovesTheRowFromTheUnknownRows) {
    test::HandOver(*model_, test::MakeCoreResult(id_, 1, "core", 500));
    test::HandOver(*model_, test::MakeCoreResult(id_, 2, "core", 1500));
    const std::string first = AddWeb(1);
    AddWeb(2);
    model_->SortBy(ResultColumn::Size);
    ResultList list;
    list.Reset(model_->SortBy(ResultColumn::Size));
    const auto sizes = [&list] {
        std::vector<std::string> texts;
        for (const ListedRow& row : list.Rows()) {
            texts.push_back(ColumnText(row, ResultColumn::Size));
        }
        return texts;
    };
    EXPECT_EQ(sizes(), (std::vector<std::string>{"Unknown", "Unknown", "500", "1500"}));
    probes_->headers[first] = OkHeader(1000);
    model_->TakeListChanges();
    // Newest first: the second web result is probed first and fails.
    model_->ProbeTick();
    model_->ProbeTick();
    probes_->RunAll();

    list.Adopt(list.Plan(model_->TakeListChanges().events, model_->Ordering()));
    EXPECT_EQ(sizes(), (std::vector<std::string>{"500", "1000", "1500"}));
}

TEST_F(SizeProbeTest, StoppedSearchKeepsItsRowsAndStillCountsSuccessfulProbes) {
    const std::string link = AddWeb(1);
    test::HandOver(*model_, test::MakeCoreResult(id_, 1, "core", 10));
    probes_->headers[link] = OkHeader(99);
    model_->StopSearch(id_);
    AddWeb(2);
    test::HandOver(*model_, test::MakeCoreResult(id_, 2, "late", 10));
    model_->ProbeTick();
    probes_->RunAll();
    EXPECT_EQ(model_->ShownCount(id_), 2);
    EXPECT_EQ(model_->ShowSearch(id_).size(), 2u);
}

TEST_F(SizeProbeTest, NoProbeForARemovedSearchNorAfterShutdown) {
    AddWeb(1);
    model_->RemoveSearch(id_);
    model_->ProbeTick();
    EXPECT_TRUE(probes_->waiting.empty());
    model_->Shutdown();
    EXPECT_TRUE(probes_->stopped);
}

// The real probes against the simulated web: a redirect is followed and the
// size comes from the answer at the new place.
TEST(HttpHeaderProbes, RedirectIsProbedAtItsNewLocation) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    const sim::SimTrack track = sim::DefaultWebCatalogue().front();
    const std::string path = "files/" + sim::PercentEncodePath(track.fileName);
    SearchModel model;
    model.OpenSearch(0);
    model.ShowSearch(0);
    model.AddWebResult(0, server.BaseUrl() + "/redirect/abs/" + path, "moved.mp3",
                       WebEngineId::Engine1);
    model.AddWebResult(0, server.BaseUrl() + "/status/404", "gone.mp3", WebEngineId::Engine1);
    EXPECT_EQ(model.TakeListChanges().events.size(), 2u);
    model.ProbeTick();
    model.ProbeTick();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    std::vector<ListEvent> events;
    while (events.size() < 2 && std::chrono::steady_clock::now() < deadline) {
        const ListChanges changes = model.TakeListChanges();
        events.insert(events.end(), changes.events.begin(), changes.events.end());
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_EQ(events.size(), 2u);
    for (const ListEvent& event : events) {
        const bool moved = event.row.result->Name() == "moved.mp3";
        EXPECT_EQ(event.kind, moved ? ListEvent::Kind::Sized : ListEvent::Kind::Failed);
        if (moved) {
            EXPECT_EQ(event.row.size, static_cast<std::int64_t>(track.size));
        }
    }
    EXPECT_EQ(model.ShownCount(0), 1);
}

}  // namespace
}  // namespace korvana
