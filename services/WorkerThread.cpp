#include "services/WorkerThread.h"

namespace korvana {

WorkerThread::~WorkerThread() {
    Join();
}

bool WorkerThread::Start(std::function<void()> job) {
    if (running_.load()) {
        return false;
    }
    // The previous job has returned; its thread is at most unwinding.
    Join();
    running_.store(true);
    thread_ = std::thread([this, job = std::move(job)] {
        job();
        running_.store(false);
    });
    return true;
}

void WorkerThread::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace korvana
