#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/media/MediaBackend.h"

struct mpg123_handle_struct;

namespace korvana {

// MPEG audio decoding through libmpg123, always to interleaved signed
// 16-bit samples at the file's own rate and channel count. Opening scans the
// whole stream once, so the length is exact, not a guess from the file size.
// One thread at a time.
class Mp3Decoder {
  public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    bool OpenFile(const std::filesystem::path& file);
    // Decodes bytes in memory; they must outlive the decoder's use of them.
    bool OpenMemory(std::string_view bytes);
    void Close();

    bool IsOpen() const { return open_; }
    long Rate() const { return rate_; }
    int Channels() const { return channels_; }
    // PCM frames (one sample per channel) in the whole stream.
    std::int64_t LengthFrames() const { return lengthFrames_; }
    std::int64_t FramesToMs(std::int64_t frames) const;
    std::int64_t MsToFrames(std::int64_t ms) const;

    // Decodes up to maxFrames PCM frames into out (room for maxFrames *
    // Channels() samples). Returns the frames written; sets *ended once the
    // stream is over (possibly together with the last frames).
    std::size_t Read(std::int16_t* out, std::size_t maxFrames, bool* ended);
    // Moves the next Read to a PCM frame, clamped to the stream.
    bool SeekFrame(std::int64_t frame);

    MediaError Error() const { return error_; }
    const std::string& ErrorText() const { return errorText_; }

    // The read position in bytes given to OpenMemory, for the decoder's
    // reader callbacks.
    struct Memory {
        std::string_view bytes;
        std::size_t position = 0;
    };

  private:
    bool Prepare();
    bool ReadFormat();
    bool Fail(MediaError error, const std::string& text);

    mpg123_handle_struct* handle_ = nullptr;
    Memory memory_;
    bool open_ = false;
    long rate_ = 0;
    int channels_ = 0;
    std::int64_t lengthFrames_ = 0;
    MediaError error_ = MediaError::None;
    std::string errorText_;
};

}  // namespace korvana
