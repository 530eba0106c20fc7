#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace korvana {

// Why the last media operation failed. None is 0 so that "no error" reads
// as false wherever a code is tested.
enum class MediaError : int {
    None = 0,
    OpenFailed = 1,     // the file cannot be opened or read
    NotAudio = 2,       // the file holds no decodable MPEG audio
    NoAudioOutput = 3,  // no audio device or sound server could be opened
    OutputFailed = 4,   // the audio output failed while playing
    NotOpen = 5,        // an operation that needs an open file, without one
};

// Plays one audio file at a time, out of sight: the player's playback
// session. Open loads a file paused at position 0; Play and Resume start or
// continue it; the position stops at the length when the file has played to
// its end. Times are milliseconds from the decoder's sample counts. Calls
// come from one thread (the GUI thread) and never wait for the audio.
class MediaBackend {
  public:
    virtual ~MediaBackend() = default;

    // Closes any open file first. False on failure, with LastError() set;
    // the backend is then closed.
    virtual bool Open(const std::filesystem::path& file) = 0;
    virtual std::int64_t LengthMs() const = 0;
    virtual std::int64_t PositionMs() const = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Moves to a position, clamped to 0..LengthMs(), keeping the play or
    // pause state.
    virtual void Seek(std::int64_t positionMs) = 0;
    // Halts playback and drops the audio already queued for the device.
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // 0 (silent) to 1000 (the file's own level); other values are clamped.
    virtual void SetVolume(int volume) = 0;
    virtual MediaError LastError() const = 0;
    // A short sentence for logs, empty when there is no error.
    virtual std::string LastErrorText() const = 0;
};

inline constexpr int kMaxVolume = 1000;

}  // namespace korvana
