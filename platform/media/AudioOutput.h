#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace korvana {

// Where decoded audio goes: a sound device or server. Used by one playback
// thread at a time; Write blocks while the device's buffer is full.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // Opens the device for interleaved signed 16-bit samples. False, with
    // ErrorText(), when no device can be opened.
    virtual bool Start(long rate, int channels) = 0;
    // Queues `frames` PCM frames; false when the device failed. The output
    // may change the samples in place (byte order, software mixing).
    virtual bool Write(std::int16_t* samples, std::size_t frames) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Discards what is queued but not yet heard.
    virtual void Drop() = 0;
    virtual void Close() = 0;
    virtual std::string ErrorText() const = 0;
};

// The desktop's audio (PulseAudio, PipeWire, ALSA, ...) through libout123.
std::unique_ptr<AudioOutput> MakeOut123Output();

}  // namespace korvana
