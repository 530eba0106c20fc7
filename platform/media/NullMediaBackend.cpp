#include "platform/media/NullMediaBackend.h"

#include <algorithm>

#include "platform/media/Mp3Decoder.h"

namespace korvana {

bool NullMediaBackend::Open(const std::filesystem::path& file) {
    Close();
    Mp3Decoder decoder;
    if (!decoder.OpenFile(file)) {
        error_ = decoder.Error();
        errorText_ = decoder.ErrorText();
        return false;
    }
    lengthMs_ = decoder.FramesToMs(decoder.LengthFrames());
    open_ = true;
    error_ = MediaError::None;
    errorText_.clear();
    return true;
}

std::int64_t NullMediaBackend::PositionMs() const {
    if (!playing_) {
        return baseMs_;
    }
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock_.Now() - startedAt_);
    return std::min(baseMs_ + elapsed.count(), lengthMs_);
}

void NullMediaBackend::Play() {
    if (!open_) {
        error_ = MediaError::NotOpen;
        errorText_ = "no file is open";
        return;
    }
    if (!playing_) {
        startedAt_ = clock_.Now();
        playing_ = true;
    }
}

void NullMediaBackend::Pause() {
    baseMs_ = PositionMs();
    playing_ = false;
}

void NullMediaBackend::Seek(std::int64_t positionMs) {
    if (!open_) {
        return;
    }
    baseMs_ = std::clamp<std::int64_t>(positionMs, 0, lengthMs_);
    startedAt_ = clock_.Now();
}

void NullMediaBackend::Close() {
    open_ = playing_ = false;
    lengthMs_ = baseMs_ = 0;
}

void NullMediaBackend::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, kMaxVolume);
}

}  // namespace korvana
