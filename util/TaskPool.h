#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace korvana {

// The program's one way to run work off the calling thread: a bounded set of
// worker threads that run posted tasks in order. Threads are started as work
// arrives, up to the limit; tasks beyond it wait their turn. A pool of one
// thread is a single background worker (PostIfIdle, Busy). Stop() drops the
// waiting tasks and joins every thread, so no task outlives the pool's owner.
class TaskPool {
  public:
    explicit TaskPool(std::size_t maxThreads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // Queues a task; ignored once the pool is stopping.
    void Post(std::function<void()> task);
    // Queues `task` only when no task is queued or running; false, with the
    // task dropped, when one is or the pool is stopping.
    bool PostIfIdle(std::function<void()> task);

    // Tasks being run now, and tasks waiting for a thread.
    std::size_t Running() const;
    std::size_t Queued() const;
    // From a Post until no task is queued or running.
    bool Busy() const;
    // Waits until no task is queued or running; false after `timeout`.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);
    void WaitUntilIdle();

    // Drops waiting tasks, lets running ones finish and joins the threads.
    // Must not be called from one of the pool's own tasks.
    void Stop();

  private:
    void Work();
    // With the lock held.
    void Queue(std::function<void()> task);
    bool IdleLocked() const { return queue_.empty() && running_ == 0; }

    const std::size_t maxThreads_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> queue_;
    std::vector<std::thread> threads_;
    std::size_t waiting_ = 0;  // threads waiting for a task
    std::size_t running_ = 0;  // tasks being run
    bool stopping_ = false;
};

}  // namespace korvana
