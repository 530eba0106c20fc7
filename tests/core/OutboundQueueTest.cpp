#include "core/OutboundQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace korvana {
namespace {

using Frame = OutboundQueue::Frame;

// Writes everything that is pending, `chunk` bytes at a time, and returns
// the bytes in the order they went out.
Frame WriteAll(OutboundQueue& queue, std::size_t chunk = 1000) {
    Frame out;
    for (auto pending = queue.Pending(); !pending.empty(); pending = queue.Pending()) {
        const std::size_t n = std::min(chunk, pending.size());
        out.insert(out.end(), pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(n));
        queue.Advance(n);
    }
    return out;
}

TEST(OutboundQueue, FramesWaitForTheLogInAndFollowIt) {
    OutboundQueue queue;
    EXPECT_TRUE(queue.Push({1, 1}));
    EXPECT_TRUE(queue.Push({2, 2}));
    EXPECT_TRUE(queue.Pending().empty());  // no connection yet
    queue.StartSession({{9}, {8}});
    EXPECT_EQ(WriteAll(queue), (Frame{9, 8, 1, 1, 2, 2}));
}

TEST(OutboundQueue, AFrameCutOffByABreakGoesOutWholeAfterTheNextLogIn) {
    OutboundQueue queue;
    queue.StartSession({});
    queue.Push({1, 2, 3, 4, 5, 6, 7});
    queue.Push({8});
    queue.Pending();
    queue.Advance(5);
    EXPECT_EQ(queue.WrittenOfCurrent(), 5u);
    queue.EndSession();
    EXPECT_TRUE(queue.Pending().empty());
    queue.Push({9});
    queue.StartSession({{0}});
    EXPECT_EQ(WriteAll(queue, 3), (Frame{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(OutboundQueue, ALogInFrameCutOffIsNotRepeated) {
    OutboundQueue queue;
    queue.Push({5});
    queue.StartSession({{1, 1, 1}, {2}});
    queue.Pending();
    queue.Advance(1);
    queue.EndSession();
    queue.StartSession({{3}});
    EXPECT_EQ(WriteAll(queue), (Frame{3, 5}));
}

TEST(OutboundQueue, NothingIsAcceptedAfterTheFinalFrame) {
    OutboundQueue queue;
    EXPECT_TRUE(queue.Push({1}));
    EXPECT_TRUE(queue.PushFinal({3}));
    EXPECT_TRUE(queue.Closed());
    EXPECT_FALSE(queue.Push({4}));
    EXPECT_FALSE(queue.PushFinal({3}));
    queue.StartSession({});
    queue.Pending();
    queue.Advance(1);
    EXPECT_FALSE(queue.FinalWritten());
    EXPECT_EQ(WriteAll(queue), (Frame{3}));
    EXPECT_TRUE(queue.FinalWritten());
}

}  // namespace
}  // namespace korvana
