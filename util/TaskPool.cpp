#include "util/TaskPool.h"

#include <system_error>

namespace korvana {

TaskPool::TaskPool(std::size_t maxThreads) : maxThreads_(maxThreads == 0 ? 1 : maxThreads) {}

TaskPool::~TaskPool() {
    Stop();
}

void TaskPool::Post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    if (!stopping_) {
        Queue(std::move(task));
    }
}

bool TaskPool::PostIfIdle(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    if (stopping_ || !IdleLocked()) {
        return false;
    }
    Queue(std::move(task));
    return true;
}

void TaskPool::Queue(std::function<void()> task) {
    queue_.push_back(std::move(task));
    if (waiting_ > 0 || threads_.size() >= maxThreads_) {
        wake_.notify_one();
        return;
    }
    try {
        threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
        // No new thread: the task waits for one of the running threads.
        wake_.notify_one();
    }
}

std::size_t TaskPool::Running() const {
    std::lock_guard lock(mutex_);
    return running_;
}

std::size_t TaskPool::Queued() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

bool TaskPool::Busy() const {
    std::lock_guard lock(mutex_);
    return !IdleLocked();
}

bool TaskPool::WaitUntilIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return IdleLocked(); });
}

void TaskPool::WaitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return IdleLocked(); });
}

void TaskPool::Stop() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
    idle_.notify_all();
}

void TaskPool::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++waiting_;
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        --waiting_;
        if (stopping_) {
            return;
        }
        std::function<void()> task = std::move(queue_.front());
        queue_.pop_front();
        ++running_;
        lock.unlock();
        task();
        lock.lock();
        --running_;
        if (IdleLocked()) {
            idle_.notify_all();
        }
    }
}

}  // namespace korvana
