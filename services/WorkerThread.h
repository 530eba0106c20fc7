#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace korvana {

// One background job at a time on a thread of its own, joined before the
// owner goes away.
class WorkerThread {
  public:
    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Runs `job` on a new thread unless the previous job is still running;
    // false in that case, and `job` is dropped.
    bool Start(std::function<void()> job);
    // True from Start until the job has returned.
    bool Running() const { return running_.load(); }
    // Waits for the job, if any, to end.
    void Join();

  private:
    std::thread thread_;
    std::atomic<bool> running_{false};
};

}  // namespace korvana
