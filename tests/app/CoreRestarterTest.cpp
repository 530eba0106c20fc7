#include "app/CoreRestarter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/StatusLog.h"
#include "platform/CoreProcess.h"
#include "tests/core/DispatchTestSupport.h"
#include "tests/support/FakeClock.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

class FakeCore final : public CoreProcess {
  public:
    bool IsCoreRunning() const override {
        ++looks;
        return running;
    }
    void LaunchCore() override {
        ++launches;
        running = startsUp;
    }
    bool running = false;
    bool startsUp = true;
    int launches = 0;
    mutable int looks = 0;
};

struct Restarter {
    test::FakeClock clock;
    FakeCore core;
    StatusLog log;
    test::LogLines lines{log};
    CoreRestarter restarter{clock, core, log};
};

TEST(CoreRestarter, CoreWeStartedIsStartedAgainWhenItDiesAndLogged) {
    Restarter r;
    EXPECT_TRUE(r.restarter.StartIfAbsent());
    EXPECT_TRUE(r.restarter.Watching());
    r.clock.Advance(60s);
    EXPECT_FALSE(r.restarter.RestartIfDead());  // still running
    r.core.running = false;
    EXPECT_TRUE(r.restarter.RestartIfDead());
    EXPECT_EQ(r.core.launches, 2);
    EXPECT_TRUE(r.core.running);
    EXPECT_EQ(r.lines.Copy(),
              std::vector<std::string>{"The core is not running: starting it again."});
}

TEST(CoreRestarter, CoreThatKeepsDyingIsStartedAFewTimesAMinuteAtMost) {
    Restarter r;
    r.core.startsUp = false;  // every start fails at once
    ASSERT_TRUE(r.restarter.StartIfAbsent());
    for (int second = 0; second < 60; ++second) {
        r.clock.Advance(1s);
        r.restarter.RestartIfDead();
    }
    // Three in the first minute (the start-up's included), the fourth once
    // the first is a minute old.
    EXPECT_EQ(r.core.launches, 4);
    EXPECT_EQ(r.lines.Copy().size(), 3u);
}

TEST(CoreRestarter, CoreFoundRunningIsNeverStartedByUs) {
    Restarter r;
    r.core.running = true;
    EXPECT_FALSE(r.restarter.StartIfAbsent());
    EXPECT_FALSE(r.restarter.Watching());
    r.core.running = false;
    r.clock.Advance(60s);
    EXPECT_FALSE(r.restarter.RestartIfDead());
    EXPECT_EQ(r.core.launches, 0);
}

// No local core runs, yet the remote one is the user's: starting ours
// would only add a second core nobody asked for.
TEST(CoreRestarter, RemoteCoreIsNeverStartedNorWatched) {
    test::FakeClock clock;
    FakeCore core;
    StatusLog log;
    CoreRestarter restarter(clock, core, log, true);
    EXPECT_FALSE(restarter.StartIfAbsent());
    EXPECT_FALSE(restarter.Watching());
    clock.Advance(60s);
    EXPECT_FALSE(restarter.RestartIfDead());
    EXPECT_EQ(core.launches, 0);
}

}  // namespace
}  // namespace korvana
