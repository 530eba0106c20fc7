#include "platform/media/AutoMediaBackend.h"

#include <cstdlib>
#include <cstring>

#include "platform/media/Mpg123Backend.h"
#include "platform/media/NullMediaBackend.h"

namespace korvana {

AutoMediaBackend::AutoMediaBackend(std::unique_ptr<MediaBackend> preferred,
                                   std::unique_ptr<MediaBackend> fallback, const Clock& clock)
    : preferred_(std::move(preferred)), fallback_(std::move(fallback)), clock_(clock) {}

bool AutoMediaBackend::DeviceWorthTrying() const {
    return !deviceFailedAt_ || clock_.Now() - *deviceFailedAt_ >= kDeviceRetry;
}

bool AutoMediaBackend::Open(const std::filesystem::path& file) {
    Close();
    if (DeviceWorthTrying()) {
        if (preferred_->Open(file)) {
            deviceFailedAt_.reset();
            return true;
        }
        if (preferred_->LastError() != MediaError::NoAudioOutput) {
            return false;
        }
        deviceFailedAt_ = clock_.Now();
        fallbackReason_ = preferred_->LastErrorText();
    }
    usingFallback_ = true;
    return fallback_->Open(file);
}

void AutoMediaBackend::Close() {
    preferred_->Close();
    fallback_->Close();
    usingFallback_ = false;
}

void AutoMediaBackend::SetVolume(int volume) {
    preferred_->SetVolume(volume);
    fallback_->SetVolume(volume);
}

MediaOutput MediaOutputFromEnvironment() {
    const char* value = std::getenv("KORVANA_AUDIO");
    return value != nullptr && std::strcmp(value, "null") == 0 ? MediaOutput::Silent
                                                               : MediaOutput::Automatic;
}

std::unique_ptr<MediaBackend> MakeMediaBackend(const Clock& clock, MediaOutput output) {
    if (output == MediaOutput::Silent) {
        return std::make_unique<NullMediaBackend>(clock);
    }
    return std::make_unique<AutoMediaBackend>(std::make_unique<Mpg123Backend>(),
                                              std::make_unique<NullMediaBackend>(clock), clock);
}

}  // namespace korvana
