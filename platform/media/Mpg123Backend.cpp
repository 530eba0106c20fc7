#include "platform/media/Mpg123Backend.h"

#include <algorithm>
#include <vector>

#include "platform/media/Volume.h"

namespace korvana {

Mpg123Backend::Mpg123Backend(OutputFactory makeOutput) : makeOutput_(std::move(makeOutput)) {}

Mpg123Backend::~Mpg123Backend() {
    Close();
}

void Mpg123Backend::Fail(MediaError error, const std::string& text) {
    const std::lock_guard lock(mutex_);
    error_ = error;
    errorText_ = text;
}

bool Mpg123Backend::Open(const std::filesystem::path& file) {
    Close();
    if (!decoder_.OpenFile(file)) {
        Fail(decoder_.Error(), decoder_.ErrorText());
        return false;
    }
    output_ = makeOutput_ ? makeOutput_() : nullptr;
    if (output_ == nullptr || !output_->Start(decoder_.Rate(), decoder_.Channels())) {
        Fail(MediaError::NoAudioOutput,
             output_ == nullptr ? "no audio output" : output_->ErrorText());
        output_.reset();
        decoder_.Close();
        return false;
    }
    lengthFrames_ = decoder_.LengthFrames();
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
        playing_ = ended_ = quit_ = dropQueued_ = false;
        seekTo_.reset();
        positionFrames_ = 0;
        error_ = MediaError::None;
        errorText_.clear();
    }
    thread_ = std::thread(&Mpg123Backend::Run, this);
    return true;
}

void Mpg123Backend::Close() {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    if (output_ != nullptr) {
        output_->Close();
        output_.reset();
    }
    decoder_.Close();
    const std::lock_guard lock(mutex_);
    open_ = playing_ = ended_ = false;
    positionFrames_ = 0;
    lengthFrames_ = 0;
}

std::int64_t Mpg123Backend::LengthMs() const {
    return decoder_.FramesToMs(lengthFrames_);
}

std::int64_t Mpg123Backend::PositionMs() const {
    std::int64_t frames = 0;
    {
        const std::lock_guard lock(mutex_);
        frames = positionFrames_;
    }
    return decoder_.FramesToMs(frames);
}

void Mpg123Backend::SetPlaying(bool playing) {
    {
        const std::lock_guard lock(mutex_);
        if (!open_) {
            error_ = MediaError::NotOpen;
            errorText_ = "no file is open";
            return;
        }
        playing_ = playing;
    }
    wake_.notify_all();
}

void Mpg123Backend::Play() {
    SetPlaying(true);
}
void Mpg123Backend::Resume() {
    SetPlaying(true);
}
void Mpg123Backend::Pause() {
    SetPlaying(false);
}

void Mpg123Backend::Stop() {
    SetPlaying(false);
    {
        const std::lock_guard lock(mutex_);
        dropQueued_ = open_;
    }
    wake_.notify_all();
}

void Mpg123Backend::Seek(std::int64_t positionMs) {
    {
        const std::lock_guard lock(mutex_);
        if (!open_) {
            return;
        }
        const std::int64_t target =
            std::clamp<std::int64_t>(decoder_.MsToFrames(positionMs), 0, lengthFrames_);
        seekTo_ = target;
        positionFrames_ = target;
        ended_ = target >= lengthFrames_;
    }
    wake_.notify_all();
}

void Mpg123Backend::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, kMaxVolume);
}

MediaError Mpg123Backend::LastError() const {
    const std::lock_guard lock(mutex_);
    return error_;
}

std::string Mpg123Backend::LastErrorText() const {
    const std::lock_guard lock(mutex_);
    return errorText_;
}

// The playback thread: carries out seeks, drops and pause changes as they
// come, and otherwise decodes and writes one chunk at a time. The device
// and the decoder are only called with the lock released, so the caller
// never waits for the audio.
void Mpg123Backend::Run() {
    std::vector<std::int16_t> buffer(kChunkFrames * static_cast<std::size_t>(decoder_.Channels()));
    // A fresh output has nothing to play; it is not paused, so that a file
    // that is never played does not cost a pause and a reopening.
    bool deviceRunning = false;
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [&] {
            return quit_ || seekTo_ || dropQueued_ || playing_ != deviceRunning ||
                   (playing_ && !ended_);
        });
        if (quit_) {
            return;
        }
        if (!HandleRequest(lock, deviceRunning)) {
            PlayChunk(lock, buffer);
        }
    }
}

bool Mpg123Backend::HandleRequest(std::unique_lock<std::mutex>& lock, bool& deviceRunning) {
    if (dropQueued_) {
        dropQueued_ = false;
        lock.unlock();
        output_->Drop();
    } else if (seekTo_) {
        const std::int64_t target = *seekTo_;
        seekTo_.reset();
        lock.unlock();
        decoder_.SeekFrame(target);
        output_->Drop();
    } else if (playing_ != deviceRunning) {
        deviceRunning = playing_;
        lock.unlock();
        if (deviceRunning) {
            output_->Resume();
        } else {
            output_->Pause();
        }
    } else {
        return false;
    }
    lock.lock();
    return true;
}

void Mpg123Backend::PlayChunk(std::unique_lock<std::mutex>& lock,
                              std::vector<std::int16_t>& buffer) {
    lock.unlock();
    bool streamEnded = false;
    const std::size_t frames = decoder_.Read(buffer.data(), kChunkFrames, &streamEnded);
    streamEnded = streamEnded || frames == 0;
    ScaleVolume(buffer.data(), frames * static_cast<std::size_t>(decoder_.Channels()), volume_);
    const bool written = frames == 0 || output_->Write(buffer.data(), frames);
    lock.lock();
    if (seekTo_) {
        return;  // the chunk was from before the seek, which drops it
    }
    positionFrames_ = std::min(positionFrames_ + static_cast<std::int64_t>(frames), lengthFrames_);
    if (!written) {
        error_ = MediaError::OutputFailed;
        errorText_ = output_->ErrorText();
    }
    if (streamEnded || !written) {
        // The end is reported as the full length, so that the position
        // reaches the length exactly when a track is over.
        ended_ = true;
        positionFrames_ = lengthFrames_;
    }
}

}  // namespace korvana
