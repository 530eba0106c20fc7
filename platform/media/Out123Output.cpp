#include <out123.h>

#include "platform/media/AudioOutput.h"

namespace korvana {

namespace {

// The desktop's sound servers and devices: PulseAudio (also PipeWire's
// PulseAudio service), then ALSA. Other libout123 drivers are left out:
// some take seconds to find nothing, some start servers, and some hang when
// closed without a real device behind them.
constexpr const char* kDrivers = "pulse,alsa";

class Out123Output final : public AudioOutput {
  public:
    ~Out123Output() override { Close(); }

    bool Start(long rate, int channels) override {
        Close();
        handle_ = out123_new();
        if (handle_ == nullptr) {
            error_ = "cannot create an audio output";
            return false;
        }
        out123_param_int(handle_, OUT123_FLAGS, OUT123_QUIET);
        if (out123_open(handle_, kDrivers, nullptr) != OUT123_OK) {
            return Failed("no audio output could be opened");
        }
        if (out123_start(handle_, rate, channels, MPG123_ENC_SIGNED_16) != OUT123_OK) {
            return Failed("the audio output refused the format");
        }
        frameBytes_ = static_cast<std::size_t>(channels) * sizeof(std::int16_t);
        return true;
    }

    bool Write(std::int16_t* samples, std::size_t frames) override {
        if (handle_ == nullptr) {
            return false;
        }
        auto* bytes = reinterpret_cast<unsigned char*>(samples);
        std::size_t left = frames * frameBytes_;
        while (left > 0) {
            const std::size_t written = out123_play(handle_, bytes, left);
            if (written == 0) {
                return Failed("the audio output failed");
            }
            bytes += written;
            left -= written;
        }
        return true;
    }

    void Pause() override {
        if (handle_ != nullptr) {
            out123_pause(handle_);
        }
    }
    void Resume() override {
        if (handle_ != nullptr) {
            out123_continue(handle_);
        }
    }
    void Drop() override {
        if (handle_ != nullptr) {
            out123_drop(handle_);
        }
    }
    // Dropping first keeps closing from waiting until the queued audio has
    // been heard.
    void Close() override {
        if (handle_ != nullptr) {
            out123_drop(handle_);
            out123_del(handle_);
            handle_ = nullptr;
        }
    }
    std::string ErrorText() const override { return error_; }

  private:
    bool Failed(const std::string& what) {
        error_ = what;
        const char* detail = out123_strerror(handle_);
        if (detail != nullptr && *detail != '\0') {
            error_ += std::string(": ") + detail;
        }
        Close();
        return false;
    }

    out123_handle* handle_ = nullptr;
    std::size_t frameBytes_ = 4;
    std::string error_;
};

}  // namespace

std::unique_ptr<AudioOutput> MakeOut123Output() {
    return std::make_unique<Out123Output>();
}

}  // namespace korvana
