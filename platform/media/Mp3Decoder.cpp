#include "platform/media/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>

namespace korvana {

namespace {

mpg123_ssize_t ReadMemory(void* handle, void* buffer, size_t bytes) {
    auto* memory = static_cast<Mp3Decoder::Memory*>(handle);
    const std::size_t available = memory->bytes.size() - memory->position;
    const std::size_t count = std::min(bytes, available);
    std::memcpy(buffer, memory->bytes.data() + memory->position, count);
    memory->position += count;
    return static_cast<mpg123_ssize_t>(count);
}

off_t SeekMemory(void* handle, off_t offset, int whence) {
    auto* memory = static_cast<Mp3Decoder::Memory*>(handle);
    off_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<off_t>(memory->position);
    } else if (whence == SEEK_END) {
        base = static_cast<off_t>(memory->bytes.size());
    } else if (whence != SEEK_SET) {
        return -1;
    }
    if (offset < -base || offset > static_cast<off_t>(memory->bytes.size()) - base) {
        return -1;
    }
    memory->position = static_cast<std::size_t>(base + offset);
    return static_cast<off_t>(memory->position);
}

}  // namespace

Mp3Decoder::Mp3Decoder() = default;

Mp3Decoder::~Mp3Decoder() {
    Close();
}

void Mp3Decoder::Close() {
    if (handle_ != nullptr) {
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
    open_ = false;
    rate_ = 0;
    channels_ = 0;
    lengthFrames_ = 0;
}

bool Mp3Decoder::Fail(MediaError error, const std::string& text) {
    Close();
    error_ = error;
    errorText_ = text;
    return false;
}

// A fresh handle per file, quiet, decoding every rate to signed 16 bits.
bool Mp3Decoder::Prepare() {
    Close();
    error_ = MediaError::None;
    errorText_.clear();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) {
        return Fail(MediaError::OpenFailed, "cannot create an MP3 decoder");
    }
    mpg123_param(handle_, MPG123_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    return true;
}

bool Mp3Decoder::OpenFile(const std::filesystem::path& file) {
    if (!Prepare()) {
        return false;
    }
    if (mpg123_open(handle_, file.c_str()) != MPG123_OK) {
        return Fail(MediaError::OpenFailed, "cannot open " + file.string());
    }
    return ReadFormat();
}

bool Mp3Decoder::OpenMemory(std::string_view bytes) {
    if (!Prepare()) {
        return false;
    }
    memory_ = Memory{bytes, 0};
    if (mpg123_replace_reader_handle(handle_, ReadMemory, SeekMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle_, &memory_) != MPG123_OK) {
        return Fail(MediaError::OpenFailed, "cannot read the audio bytes");
    }
    return ReadFormat();
}

bool Mp3Decoder::ReadFormat() {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels < 1 || channels > 2 || mpg123_scan(handle_) != MPG123_OK) {
        return Fail(MediaError::NotAudio, "no MPEG audio found");
    }
    const off_t length = mpg123_length(handle_);
    if (length <= 0) {
        return Fail(MediaError::NotAudio, "the audio stream is empty");
    }
    rate_ = rate;
    channels_ = channels;
    lengthFrames_ = static_cast<std::int64_t>(length);
    open_ = true;
    return true;
}

std::int64_t Mp3Decoder::FramesToMs(std::int64_t frames) const {
    return rate_ > 0 ? frames * 1000 / rate_ : 0;
}

std::int64_t Mp3Decoder::MsToFrames(std::int64_t ms) const {
    return ms * rate_ / 1000;
}

std::size_t Mp3Decoder::Read(std::int16_t* out, std::size_t maxFrames, bool* ended) {
    *ended = false;
    if (!open_) {
        *ended = true;
        return 0;
    }
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(channels_);
    std::size_t done = 0;
    const int result = mpg123_read(handle_, out, maxFrames * frameBytes, &done);
    if (result == MPG123_NEW_FORMAT) {
        // The stream changed its rate or channels midway: the output was
        // set up for the first format, so the track ends here.
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        mpg123_getformat(handle_, &rate, &channels, &encoding);
        *ended = rate != rate_ || channels != channels_;
    } else if (result != MPG123_OK) {
        *ended = true;
    }
    return done / frameBytes;
}

bool Mp3Decoder::SeekFrame(std::int64_t frame) {
    if (!open_) {
        return false;
    }
    const std::int64_t target = std::clamp<std::int64_t>(frame, 0, lengthFrames_);
    return mpg123_seek(handle_, static_cast<off_t>(target), SEEK_SET) >= 0;
}

}  // namespace korvana
