#include "app/StartupSequences.h"
#include "platform/CoreProcess.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(Splash, ClosesOnceAfterItsLastTextAndLaterTicksChangeNothing) {
    // A tick already queued when the splash closes must neither change the
    // line nor close it a second time.
    int closes = 0;
    int closedAfter = -1;
    int lastTextAt = -1;
    std::set<std::string> texts;
    for (int tick = 0; tick < 100; ++tick) {
        const SplashStep step = SplashTick(tick);
        if (step.text) {
            EXPECT_EQ(closes, 0) << "text after the close at tick " << tick;
            EXPECT_FALSE(step.text->empty()) << tick;
            EXPECT_TRUE(texts.insert(*step.text).second) << "text shown twice: " << *step.text;
            lastTextAt = tick;
        }
        if (step.close) {
            ++closes;
            closedAfter = tick;
        }
    }
    EXPECT_EQ(closes, 1);
    // The last text stays on screen a whole tick before the splash goes.
    EXPECT_GT(closedAfter, lastTextAt);
    EXPECT_GE(texts.size(), 2u);
    // The closing takes a few seconds, not the whole run of ticks.
    EXPECT_LT(closedAfter * kSplashTick, std::chrono::seconds(10));
}

TEST(ShutdownBar, ClimbsOneStepAndRestartsAfterHundred) {
    int counter = 0;
    std::vector<int> seen;
    for (int tick = 0; tick < 101; ++tick) {
        counter = ShutdownBarNext(counter);
        seen.push_back(counter);
    }
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[98], 99);
    EXPECT_EQ(seen[99], 1);  // the hundredth tick starts again from the left
    EXPECT_EQ(seen[100], 2);
}

class FakeCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override { return running; }
    void LaunchCore() override {
        running = true;
        ++launches;
    }
    // Only a core this object launched can be signalled; SIGTERM is
    // ignored unless `termStops`, SIGKILL always works.
    bool SignalStartedCore(bool kill) override {
        if (launches == 0 || !running) {
            return false;
        }
        signals.push_back(kill ? "KILL" : "TERM");
        running = !(kill || termStops);
        return true;
    }
    bool running = false;
    bool termStops = false;
    int launches = 0;
    std::vector<std::string> signals;
};

// Polls every 50 ms until done; returns how long that took.
template <typename Stopper>
std::chrono::milliseconds PollUntilDone(Stopper& stopper, test::FakeClock& clock) {
    std::chrono::milliseconds waited{0};
    while (!stopper.Poll()) {
        clock.Advance(50ms);
        waited += 50ms;
    }
    return waited;
}

TEST(CoreStopper, NoCoreMeansNoFrameAndNoWait) {
    test::FakeClock clock;
    FakeCore core;
    CoreStopper stopper(clock, core);
    int sent = 0;
    EXPECT_TRUE(stopper.Start([&] { ++sent; }));
    EXPECT_EQ(sent, 0);
}

TEST(CoreStopper, CoreFoundRunningIsLeftAloneAfterThePoliteWait) {
    test::FakeClock clock;
    FakeCore core;
    core.running = true;  // running before we looked: not ours
    std::vector<std::string> notes;
    CoreStopper stopper(clock, core, [&](std::string_view line) { notes.emplace_back(line); });
    int sent = 0;
    ASSERT_FALSE(stopper.Start([&] { ++sent; }));
    EXPECT_EQ(PollUntilDone(stopper, clock), CoreStopper::kPoliteWait);
    EXPECT_EQ(sent, 1);
    EXPECT_TRUE(core.signals.empty());
    EXPECT_TRUE(core.running);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("left running"), std::string::npos);
}

TEST(CoreStopper, OurCoreThatIgnoresShutdownGetsTermThenKill) {
    test::FakeClock clock;
    FakeCore core;
    core.LaunchCore();
    std::vector<std::string> notes;
    CoreStopper stopper(clock, core, [&](std::string_view line) { notes.emplace_back(line); });
    ASSERT_FALSE(stopper.Start([] {}));
    const std::chrono::milliseconds waited = PollUntilDone(stopper, clock);
    EXPECT_EQ(core.signals, (std::vector<std::string>{"TERM", "KILL"}));
    EXPECT_FALSE(core.running);
    // Found gone at the poll after the signal.
    EXPECT_EQ(waited, CoreStopper::kPoliteWait + CoreStopper::kTermWait + 50ms);
    EXPECT_LE(waited, CoreStopper::kBudget);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "The core did not exit after the shutdown message: sent it SIGTERM.",
                         "The core did not exit after SIGTERM: sent it SIGKILL.",
                         "The core has stopped."}));
}

TEST(CoreStopper, OurCoreThatHeedsTermIsNotKilled) {
    test::FakeClock clock;
    FakeCore core;
    core.LaunchCore();
    core.termStops = true;
    CoreStopper stopper(clock, core);
    ASSERT_FALSE(stopper.Start([] {}));
    EXPECT_EQ(PollUntilDone(stopper, clock), CoreStopper::kPoliteWait + 50ms);
    EXPECT_EQ(core.signals, (std::vector<std::string>{"TERM"}));
}

TEST(CoreStopper, ReturnsAsSoonAsTheCoreHasGone) {
    test::FakeClock clock;
    FakeCore core;
    core.running = true;
    CoreStopper stopper(clock, core);
    ASSERT_FALSE(stopper.Start([] {}));
    clock.Advance(1200ms);
    EXPECT_FALSE(stopper.Poll());
    core.running = false;
    EXPECT_TRUE(stopper.Poll());
}

// A remote core keeps running after we exit: no shutdown message, no
// signal, even when a core of ours happens to run here, and the dialog gets
// a moment to say so.
TEST(CoreStopper, RemoteCoreIsLeftRunningWithoutAWord) {
    test::FakeClock clock;
    FakeCore core;
    core.LaunchCore();
    std::vector<std::string> notes;
    CoreStopper stopper(
        clock, core, [&](std::string_view line) { notes.emplace_back(line); }, true);
    int sent = 0;
    ASSERT_FALSE(stopper.Start([&] { ++sent; }));
    EXPECT_EQ(PollUntilDone(stopper, clock), CoreStopper::kLeaveNotice);
    EXPECT_EQ(sent, 0);
    EXPECT_TRUE(core.signals.empty());
    EXPECT_TRUE(core.running);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("left running"), std::string::npos);
}

}  // namespace
}  // namespace korvana
