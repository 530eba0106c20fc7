#include "search/SearchSession.h"

#include <gtest/gtest.h>

#include <condition_variable>

#include "SearchTestSupport.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using test::HandOver;
using test::MakeCoreResult;

FilterValues NoFilters() {
    return {};
}

// Probes that answer at once with a size, on the thread that starts them,
// and count what they were asked.
class InstantProbes final : public HeaderProbes {
  public:
    void Start(std::function<void()> probe) override {
        ++started;
        probe();
    }
    std::string FetchHeader(const std::string&) override { return test::OkHeader(1000); }
    void Stop() override {}

    std::atomic<int> started{0};
};

// Probes that each hold a worker thread until the test lets them all go.
class HeldProbes final : public HeaderProbes {
  public:
    void Start(std::function<void()> probe) override { pool_.Post(std::move(probe)); }
    std::string FetchHeader(const std::string&) override {
        std::unique_lock lock(mutex_);
        ++held_;
        released_.wait(lock, [this] { return free_; });
        return test::OkHeader(500);
    }
    void Stop() override {
        Release();
        pool_.Stop();
    }
    void Release() {
        {
            std::lock_guard lock(mutex_);
            free_ = true;
        }
        released_.notify_all();
    }
    int Held() const {
        std::lock_guard lock(mutex_);
        return held_;
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable released_;
    int held_ = 0;
    bool free_ = false;
    TaskPool pool_{static_cast<std::size_t>(kMaxRunningProbes) + 5};
};

class SearchSessionTest : public ::testing::Test {
  protected:
    explicit SearchSessionTest(HeaderProbes* probes = new test::ManualProbes)
        : probes_(probes), session_(core_, test::QuietSessionOptions(fetcher_, probes)) {}

    // Owned by the session.
    HeaderProbes* probes_;
    test::RecordingCommands core_;
    test::SilentWeb fetcher_;
    SearchSession session_;
};

TEST_F(SearchSessionTest, AStartOpensTheSearchAndAsksTheCoreAndTheEngines) {
    const SearchStartOutcome first = session_.Start("blues", NoFilters());
    EXPECT_EQ(first.searchId, 0);
    EXPECT_EQ(first.title, "blues");
    EXPECT_EQ(first.status, "");
    EXPECT_TRUE(first.refusal.empty());
    EXPECT_FALSE(session_.Model().IsSearchStopped(0));  // opened and running
    ASSERT_EQ(core_.searches.size(), 1u);
    EXPECT_EQ(core_.searches[0].id, 0);
    EXPECT_EQ(core_.searches[0].terms.keywords, "blues");
    EXPECT_TRUE(session_.Web().WaitUntilIdle(10s));

    FilterValues filters;
    filters[static_cast<int>(Filter::Title)] = "Idle Loop";
    filters[static_cast<int>(Filter::MinSize)] = "3";
    const SearchStartOutcome second = session_.Start("Enter a keyword", filters);
    EXPECT_EQ(second.searchId, 1);
    EXPECT_EQ(second.title, "Idle Loop");
    ASSERT_EQ(core_.searches.size(), 2u);
    EXPECT_EQ(core_.searches[1].terms.keywords, "");
    EXPECT_EQ(core_.searches[1].terms.title, "Idle Loop");
    EXPECT_EQ(core_.searches[1].terms.minSize, "3145728");
}

TEST_F(SearchSessionTest, ARefusedStartSaysWhyAndStartsNothing) {
    const SearchStartOutcome noTerm = session_.Start("ENTER A KEYWORD", NoFilters());
    EXPECT_EQ(noTerm.searchId, -1);
    EXPECT_EQ(noTerm.refusal, "Please enter a search term.");
    EXPECT_EQ(noTerm.refusalCaption, "No search terms");

    FilterValues filters;
    filters[static_cast<int>(Filter::MaxSize)] = "ten";
    const SearchStartOutcome badSize = session_.Start("blues", filters);
    EXPECT_EQ(badSize.searchId, -1);
    EXPECT_EQ(badSize.refusalCaption, "Size filter");
    EXPECT_NE(badSize.refusal.find("\"Max Size (MB)\" must be a number"), std::string::npos);

    EXPECT_TRUE(core_.searches.empty());
    // No id was used up and no search opened.
    EXPECT_TRUE(session_.Model().IsSearchStopped(0));
    EXPECT_EQ(session_.Start("blues", NoFilters()).searchId, 0);
}

TEST_F(SearchSessionTest, WhileTheCoreIsDownTheSearchRunsAndTheStatusSaysWhy) {
    core_.connected = false;
    const SearchStartOutcome down = session_.Start("blues", NoFilters());
    EXPECT_EQ(down.status, "Core not connected");
    EXPECT_FALSE(session_.Model().IsSearchStopped(down.searchId));
    // Queued for the core's return.
    EXPECT_EQ(core_.searches.size(), 1u);
    core_.problem = "The core refused the password.";
    EXPECT_EQ(session_.Start("jazz", NoFilters()).status, "The core refused the password.");
    core_.connected = true;
    EXPECT_EQ(session_.Start("soul", NoFilters()).status, "");
}

TEST_F(SearchSessionTest, StopAndRemoveCloseTheSearchAtTheCore) {
    session_.Start("a", NoFilters());
    session_.Start("b", NoFilters());
    session_.Stop(1);
    EXPECT_TRUE(session_.Model().IsSearchStopped(1));
    EXPECT_FALSE(session_.Model().IsSearchStopped(0));
    HandOver(session_.Model(), MakeCoreResult(0, 1, "kept", 1));
    session_.Remove(0);
    HandOver(session_.Model(), MakeCoreResult(0, 2, "late", 1));
    EXPECT_EQ(session_.Model().ShownCount(0), 0);
    EXPECT_TRUE(session_.Model().ShowSearch(0).empty());
    EXPECT_EQ(core_.log, (std::vector<std::string>{"search 0", "search 1", "close 1", "close 0"}));
}

TEST_F(SearchSessionTest, DownloadSendsCoreResultsToTheCoreAndStartsWebResultsOnce) {
    const std::int32_t id = session_.Start("song", NoFilters()).searchId;
    HandOver(session_.Model(), MakeCoreResult(id, 0, "core zero.mp3", 10));
    HandOver(session_.Model(), MakeCoreResult(id, 8, "already.mp3", 10));
    session_.AddWebResult(id, "http://127.0.0.1/w.mp3", "web.mp3", WebEngineId::Engine1);
    session_.AddWebResult(id, "http://127.0.0.1/got.mp3", "got.mp3", WebEngineId::Engine3);
    test::RecordingDownloads downloads;
    downloads.coreNames = {"already.mp3"};
    downloads.webKeys = {"http://127.0.0.1/got.mp3"};
    for (const ListedRow& row : session_.Model().ShowSearch(id)) {
        session_.Download(*row.result, downloads);
    }
    // A core result id of 0 is still a core result.
    EXPECT_EQ(core_.log, (std::vector<std::string>{"search 0", "download core zero.mp3 0"}));
    EXPECT_EQ(downloads.started, std::vector<std::string>{"http://127.0.0.1/w.mp3 -> web.mp3"});
    EXPECT_EQ(downloads.asked.size(), 4u);
}

// The pacing as the program runs it: a task that runs while web results
// wait and ends once none does.
class SearchSessionPacingTest : public SearchSessionTest {
  protected:
    SearchSessionPacingTest() : SearchSessionTest(new InstantProbes) {}

    int Started() const { return static_cast<InstantProbes*>(probes_)->started; }
};

TEST_F(SearchSessionPacingTest, NothingWakesWhileNoWebResultWaits) {
    const std::int32_t id = session_.Start("blues", NoFilters()).searchId;
    ProbePacer& pacer = session_.Probes();
    // Core results never need a probe.
    for (int i = 0; i < 20; ++i) {
        HandOver(session_.Model(), MakeCoreResult(id, i, "core", 1));
    }
    EXPECT_FALSE(pacer.Pacing());
    EXPECT_EQ(pacer.Steps(), 0);

    for (int i = 0; i < 3; ++i) {
        session_.AddWebResult(id, "http://127.0.0.1/" + std::to_string(i), "w",
                              WebEngineId::Engine2);
    }
    ASSERT_TRUE(test::PollUntil([&] { return !pacer.Pacing(); }));
    EXPECT_EQ(Started(), 3);
    EXPECT_EQ(session_.Model().ShownCount(id), 23);
    // Idle again: neither a duplicate link nor a core result wakes it.
    const int steps = pacer.Steps();
    session_.AddWebResult(id, "HTTP://127.0.0.1/0", "w", WebEngineId::Engine1);
    HandOver(session_.Model(), MakeCoreResult(id, 99, "core", 1));
    EXPECT_FALSE(pacer.Pacing());
    EXPECT_EQ(pacer.Steps(), steps);
}

// Whether the model takes a told size or has it probed, the result ends up
// listed with a size and nothing is left waiting.
TEST_F(SearchSessionPacingTest, AResultWhoseSizeWasToldEndsUpSizedAndLeavesThePacingIdle) {
    const std::int32_t id = session_.Start("blues", NoFilters()).searchId;
    std::vector<ListedRow> listed = session_.Model().ShowSearch(id);
    session_.AddKnownWebResult(id, {"http://127.0.0.1/told.mp3", "told.mp3", 1000, "3:35"},
                               WebEngineId::Archive);
    ASSERT_TRUE(test::PollUntil([&] {
        ApplyRowChanges(listed, session_.Model().TakeListChanges(listed).steps);
        return listed.size() == 1 && listed[0].SizeKnown();
    }));
    EXPECT_EQ(session_.Model().ShownCount(id), 1);
    ASSERT_TRUE(test::PollUntil([&] { return !session_.Probes().Pacing(); }));
    EXPECT_FALSE(session_.Model().ProbesWaiting());
}

TEST(SearchSessionProbeSlots, AProbeThatEndsLetsTheNextStartWhileEverySlotWasTaken) {
    test::RecordingCommands core;
    test::SilentWeb fetcher;
    auto* probes = new HeldProbes;
    SearchSessionOptions options = test::QuietSessionOptions(fetcher, probes);
    options.probeGap = 1ms;
    SearchSession session(core, std::move(options));
    const std::int32_t id = session.Start("blues", {}).searchId;
    const int total = kMaxRunningProbes + 3;
    for (int i = 0; i < total; ++i) {
        session.AddWebResult(id, "http://127.0.0.1/" + std::to_string(i), "w",
                             WebEngineId::Engine2);
    }
    ASSERT_TRUE(test::PollUntil([&] { return probes->Held() == kMaxRunningProbes; }));
    EXPECT_EQ(session.Probes().RunningProbes(), kMaxRunningProbes);
    EXPECT_TRUE(session.Probes().Pacing());
    probes->Release();
    ASSERT_TRUE(test::PollUntil([&] { return session.Model().ShownCount(id) == total; }));
    ASSERT_TRUE(test::PollUntil([&] { return !session.Probes().Pacing(); }));
    EXPECT_EQ(probes->Held(), total);
    EXPECT_EQ(session.Probes().RunningProbes(), 0);
}

}  // namespace
}  // namespace korvana
