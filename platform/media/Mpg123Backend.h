#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/media/AudioOutput.h"
#include "platform/media/MediaBackend.h"
#include "platform/media/Mp3Decoder.h"

namespace korvana {

// Plays MP3 files for real: libmpg123 decodes on a playback thread of the
// open file's own, scales by the volume and writes to an audio output (by
// default the desktop's, through libout123). The caller's calls only set
// requests for that thread and return at once. Open fails with
// MediaError::NoAudioOutput when no device can be opened, so the caller can
// fall back to a silent backend.
class Mpg123Backend final : public MediaBackend {
  public:
    using OutputFactory = std::function<std::unique_ptr<AudioOutput>()>;

    explicit Mpg123Backend(OutputFactory makeOutput = MakeOut123Output);
    ~Mpg123Backend() override;

    bool Open(const std::filesystem::path& file) override;
    std::int64_t LengthMs() const override;
    std::int64_t PositionMs() const override;
    void Play() override;
    void Pause() override;
    void Resume() override;
    void Seek(std::int64_t positionMs) override;
    void Stop() override;
    void Close() override;
    void SetVolume(int volume) override;
    MediaError LastError() const override;
    std::string LastErrorText() const override;

    // PCM frames the playback thread decodes and writes at a time.
    static constexpr std::size_t kChunkFrames = 1152;

  private:
    void Run();
    bool HandleRequest(std::unique_lock<std::mutex>& lock, bool& deviceRunning);
    void PlayChunk(std::unique_lock<std::mutex>& lock, std::vector<std::int16_t>& buffer);
    void Fail(MediaError error, const std::string& text);
    void SetPlaying(bool playing);

    OutputFactory makeOutput_;
    std::unique_ptr<AudioOutput> output_;
    Mp3Decoder decoder_;  // the playback thread's while it runs
    std::thread thread_;
    std::int64_t lengthFrames_ = 0;
    std::atomic<int> volume_{kMaxVolume};

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool open_ = false;
    bool playing_ = false;
    bool ended_ = false;
    bool quit_ = false;
    bool dropQueued_ = false;
    std::optional<std::int64_t> seekTo_;
    std::int64_t positionFrames_ = 0;
    MediaError error_ = MediaError::None;
    std::string errorText_;
};

}  // namespace korvana
