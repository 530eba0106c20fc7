#include "util/TaskPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace korvana {
namespace {

using namespace std::chrono_literals;

// A gate the pool's tasks wait at until the test opens it.
class Gate {
  public:
    void Wait() {
        std::unique_lock lock(mutex_);
        ++waiting_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // Waits until `count` tasks stand at the gate; false after a generous bound.
    bool WaitForWaiting(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return waiting_ >= count; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int waiting_ = 0;
    bool open_ = false;
};

TEST(TaskPool, RunsNoMoreTasksAtOnceThanItsLimit) {
    TaskPool pool(2);
    Gate gate;
    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    std::atomic<int> done{0};
    for (int i = 0; i < 6; ++i) {
        pool.Post([&] {
            const int now = ++inside;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            gate.Wait();
            --inside;
            ++done;
        });
    }
    ASSERT_TRUE(gate.WaitForWaiting(2));
    EXPECT_EQ(pool.Running(), 2u);
    EXPECT_TRUE(pool.Busy());
    gate.Open();
    ASSERT_TRUE(pool.WaitUntilIdle(10s));
    EXPECT_EQ(done.load(), 6);
    EXPECT_EQ(most.load(), 2);
    EXPECT_FALSE(pool.Busy());
}

TEST(TaskPool, PostIfIdleRefusesWhileATaskIsQueuedOrRunning) {
    TaskPool pool(1);
    Gate gate;
    std::atomic<int> runs{0};
    ASSERT_TRUE(pool.PostIfIdle([&] {
        gate.Wait();
        ++runs;
    }));
    EXPECT_FALSE(pool.PostIfIdle([&] { ++runs; }));
    ASSERT_TRUE(gate.WaitForWaiting(1));
    EXPECT_FALSE(pool.PostIfIdle([&] { ++runs; }));
    gate.Open();
    pool.WaitUntilIdle();
    EXPECT_EQ(runs.load(), 1);
    // Once the first has returned, the worker takes the next one.
    EXPECT_TRUE(pool.PostIfIdle([&] { ++runs; }));
    pool.WaitUntilIdle();
    EXPECT_EQ(runs.load(), 2);
}

TEST(TaskPool, StopDropsWaitingTasksAndRefusesNewOnes) {
    TaskPool pool(1);
    Gate gate;
    std::atomic<int> runs{0};
    pool.Post([&] {
        gate.Wait();
        ++runs;
    });
    pool.Post([&] { ++runs; });
    ASSERT_TRUE(gate.WaitForWaiting(1));
    EXPECT_EQ(pool.Queued(), 1u);
    // Stop waits for the running task, so it runs beside the test.
    std::thread stopper([&] { pool.Stop(); });
    // The worker is held at the gate: only Stop can empty the queue.
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (pool.Queued() != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_EQ(pool.Queued(), 0u);
    gate.Open();
    stopper.join();
    EXPECT_EQ(runs.load(), 1);
    pool.Post([&] { ++runs; });
    EXPECT_FALSE(pool.PostIfIdle([&] { ++runs; }));
    EXPECT_TRUE(pool.WaitUntilIdle(1s));
    EXPECT_EQ(runs.load(), 1);
}

}  // namespace
}  // namespace korvana
