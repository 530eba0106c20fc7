#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/media/MediaBackend.h"

namespace korvana {

// Plays through a preferred backend (the sound device) and, for any file
// the preferred one cannot open for want of an audio output, through a
// fallback (silent) one, so that a machine without sound still runs the
// playlist. After such a failure the device is left alone for
// kDeviceRetry (each attempt costs time and fills the error output), then
// tried again, so that audio that appears later is used.
class AutoMediaBackend final : public MediaBackend {
  public:
    AutoMediaBackend(std::unique_ptr<MediaBackend> preferred,
                     std::unique_ptr<MediaBackend> fallback, const Clock& clock);

    static constexpr std::chrono::seconds kDeviceRetry{60};

    bool Open(const std::filesystem::path& file) override;
    std::int64_t LengthMs() const override { return Active().LengthMs(); }
    std::int64_t PositionMs() const override { return Active().PositionMs(); }
    void Play() override { Active().Play(); }
    void Pause() override { Active().Pause(); }
    void Resume() override { Active().Resume(); }
    void Seek(std::int64_t positionMs) override { Active().Seek(positionMs); }
    void Stop() override { Active().Stop(); }
    void Close() override;
    void SetVolume(int volume) override;
    MediaError LastError() const override { return Active().LastError(); }
    std::string LastErrorText() const override { return Active().LastErrorText(); }

    // Whether the open file plays through the fallback, and why.
    bool UsingFallback() const { return usingFallback_; }
    const std::string& FallbackReason() const { return fallbackReason_; }

  private:
    MediaBackend& Active() const { return usingFallback_ ? *fallback_ : *preferred_; }

    bool DeviceWorthTrying() const;

    std::unique_ptr<MediaBackend> preferred_;
    std::unique_ptr<MediaBackend> fallback_;
    const Clock& clock_;
    bool usingFallback_ = false;
    std::string fallbackReason_;
    std::optional<std::chrono::steady_clock::time_point> deviceFailedAt_;
};

// How the player's audio is produced: through the sound device when one
// opens (silently otherwise), or always silently.
enum class MediaOutput { Automatic, Silent };

// Silent when the environment variable KORVANA_AUDIO is "null".
MediaOutput MediaOutputFromEnvironment();

std::unique_ptr<MediaBackend> MakeMediaBackend(const Clock& clock, MediaOutput output);

}  // namespace korvana
