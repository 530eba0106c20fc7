#pragma once

#include <chrono>

#include "platform/Clock.h"
#include "platform/media/MediaBackend.h"

namespace korvana {

// Plays without sound: opening decodes the file's headers to learn its
// length (and fails as the real backend would on a file that is not audio),
// and the position then runs with the clock while playing. For tests and for
// machines without an audio device.
class NullMediaBackend final : public MediaBackend {
  public:
    explicit NullMediaBackend(const Clock& clock) : clock_(clock) {}

    bool Open(const std::filesystem::path& file) override;
    std::int64_t LengthMs() const override { return lengthMs_; }
    std::int64_t PositionMs() const override;
    void Play() override;
    void Pause() override;
    void Resume() override { Play(); }
    void Seek(std::int64_t positionMs) override;
    void Stop() override { Pause(); }
    void Close() override;
    void SetVolume(int volume) override;
    MediaError LastError() const override { return error_; }
    std::string LastErrorText() const override { return errorText_; }

    int Volume() const { return volume_; }

  private:
    const Clock& clock_;
    bool open_ = false;
    bool playing_ = false;
    std::int64_t lengthMs_ = 0;
    std::int64_t baseMs_ = 0;  // the position when playing last started
    std::chrono::steady_clock::time_point startedAt_{};
    int volume_ = kMaxVolume;
    MediaError error_ = MediaError::None;
    std::string errorText_;
};

}  // namespace korvana
