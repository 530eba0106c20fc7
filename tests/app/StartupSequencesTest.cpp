#include "app/StartupSequences.h"
#include "platform/CoreProcess.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(Splash, TextsAtOneSecondStepsAndCloseAtSix) {
    std::vector<std::string> lineEachSecond;
    std::string line;
    int closedAt = -1;
    for (int tick = 0; tick < 10 && closedAt < 0; ++tick) {
        lineEachSecond.push_back(line);  // what shows during second `tick`
        const SplashStep step = SplashTick(tick);
        if (step.text) {
            line = *step.text;
        }
        if (step.close) {
            closedAt = tick + 1;
        }
    }
    EXPECT_EQ(closedAt, 6);
    EXPECT_EQ(lineEachSecond,
              (std::vector<std::string>{"", "Loading configuration files",
                                        "Initializing web services", "Initializing p2p services",
                                        "Initializing p2p services", "Starting flux capacitor"}));
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
    void LaunchCore() override { running = true; }
    bool running = false;
};

TEST(CoreStopper, NoCoreMeansNoFrameAndNoWait) {
    test::FakeClock clock;
    FakeCore core;
    CoreStopper stopper(clock, core);
    int sent = 0;
    EXPECT_TRUE(stopper.Start([&] { ++sent; }));
    EXPECT_EQ(sent, 0);
}

TEST(CoreStopper, CoreThatNeverExitsIsLeftAfterTheBudget) {
    test::FakeClock clock;
    FakeCore core;
    core.running = true;
    CoreStopper stopper(clock, core);
    int sent = 0;
    ASSERT_FALSE(stopper.Start([&] { ++sent; }));
    int polls = 0;
    while (!stopper.Poll()) {
        clock.Advance(50ms);
        ++polls;
    }
    EXPECT_EQ(sent, 1);
    EXPECT_EQ(polls * 50ms, CoreStopper::kBudget);
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

}  // namespace
}  // namespace korvana
