#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/media/AudioOutput.h"
#include "tools/media/Mp3Writer.h"

namespace korvana::test {

// Waits, polling, until `done` holds or five seconds pass.
inline bool Eventually(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// What a GatedOutput saw, shared with the test after the backend owns the
// output. Writes wait for credits the test hands out, unless released.
struct OutputLog {
    std::mutex mutex;
    std::condition_variable changed;
    int credits = 0;
    bool released = false;
    bool failStart = false;
    int writes = 0;
    std::int64_t framesSinceDrop = 0;
    int pauses = 0;
    int resumes = 0;
    int drops = 0;
    std::vector<std::int16_t> firstChunk;

    void Grant(int count) {
        {
            const std::lock_guard lock(mutex);
            credits += count;
        }
        changed.notify_all();
    }
    void Release() {
        {
            const std::lock_guard lock(mutex);
            released = true;
        }
        changed.notify_all();
    }
    template <typename T>
    T Read(T OutputLog::*field) {
        const std::lock_guard lock(mutex);
        return this->*field;
    }
};

class GatedOutput final : public AudioOutput {
  public:
    explicit GatedOutput(std::shared_ptr<OutputLog> log) : log_(std::move(log)) {}

    bool Start(long, int channels) override {
        channels_ = channels;
        return !log_->failStart;
    }
    bool Write(std::int16_t* samples, std::size_t frames) override {
        std::unique_lock lock(log_->mutex);
        // Bounded, so a failing test cannot leave the playback thread stuck.
        log_->changed.wait_for(lock, std::chrono::seconds(5),
                               [&] { return log_->released || log_->credits > 0; });
        if (!log_->released && log_->credits > 0) {
            --log_->credits;
        }
        if (log_->writes++ == 0) {
            log_->firstChunk.assign(samples,
                                    samples + frames * static_cast<std::size_t>(channels_));
        }
        log_->framesSinceDrop += static_cast<std::int64_t>(frames);
        return true;
    }
    void Pause() override { Count(&OutputLog::pauses); }
    void Resume() override { Count(&OutputLog::resumes); }
    void Drop() override {
        const std::lock_guard lock(log_->mutex);
        ++log_->drops;
        log_->framesSinceDrop = 0;
    }
    void Close() override {}
    std::string ErrorText() const override { return "test output refused"; }

  private:
    void Count(int OutputLog::*field) {
        const std::lock_guard lock(log_->mutex);
        ++(log_.get()->*field);
    }

    std::shared_ptr<OutputLog> log_;
    int channels_ = 2;
};

// A generated MP3 file in `folder`.
inline std::filesystem::path WriteTestMp3(const std::filesystem::path& folder,
                                          const std::string& name, mp3gen::Mp3Spec spec) {
    const std::filesystem::path file = folder / name;
    mp3gen::WriteMp3(file, spec);
    return file;
}

}  // namespace korvana::test
