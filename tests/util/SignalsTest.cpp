#include <poll.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "util/HexDigit.h"
#include "util/StopSignal.h"
#include "util/WakeSignal.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

bool Readable(int fd) {
    pollfd wait{fd, POLLIN, 0};
    return poll(&wait, 1, 0) == 1 && (wait.revents & POLLIN) != 0;
}

TEST(WakeSignal, NotifyMakesTheDescriptorReadableUntilDrained) {
    WakeSignal wake;
    ASSERT_GE(wake.Fd(), 0);
    EXPECT_FALSE(Readable(wake.Fd()));
    wake.Notify();
    wake.Notify();
    EXPECT_TRUE(Readable(wake.Fd()));
    // One drain takes every notification at once.
    wake.Drain();
    EXPECT_FALSE(Readable(wake.Fd()));
}

TEST(StopSignal, ATriggerFromAnotherThreadEndsAWaitAtOnceAndForGood) {
    StopSignal stop;
    EXPECT_TRUE(stop.WaitFor(1ms));  // the whole delay passed
    std::thread trigger([&] {
        std::this_thread::sleep_for(20ms);
        stop.Trigger();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(stop.WaitFor(std::chrono::minutes(10)));
    trigger.join();
    // Far below the ten minutes asked for: the trigger woke the wait.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::minutes(1));
    EXPECT_TRUE(stop.Triggered());
    EXPECT_TRUE(Readable(stop.Fd()));
    stop.Trigger();
    EXPECT_FALSE(stop.WaitFor(std::chrono::minutes(10)));
}

TEST(HexDigit, EveryCharacterAgreesWithTheLibrarysParse) {
    for (int code = -128; code < 128; ++code) {
        const char c = static_cast<char>(code);
        const char text[2] = {c, '\0'};
        char* end = nullptr;
        const long parsed = std::strtol(text, &end, 16);
        const int expected = end == text + 1 ? static_cast<int>(parsed) : -1;
        EXPECT_EQ(HexValue(c), expected) << code;
    }
}

}  // namespace
}  // namespace korvana
