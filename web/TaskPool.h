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

// A bounded set of worker threads that run posted tasks in order. Threads are
// started as work arrives, up to the limit; tasks beyond it wait their turn.
// Stop() drops the waiting tasks and joins every thread, so no task outlives
// the pool's owner.
class TaskPool {
  public:
    explicit TaskPool(std::size_t maxThreads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // Queues a task; ignored once the pool is stopping.
    void Post(std::function<void()> task);

    // Tasks being run now, and tasks waiting for a thread.
    std::size_t Running() const;
    std::size_t Queued() const;
    // Waits until no task is queued or running; false after `timeout`.
    bool WaitUntilIdle(std::chrono::milliseconds timeout);

    // Drops waiting tasks, lets running ones finish and joins the threads.
    // Must not be called from one of the pool's own tasks.
    void Stop();

  private:
    void Work();

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
