#pragma once

#include "tests/support/RecordingPrompter.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "library/RandomSource.h"
#include "platform/DesktopOpener.h"
#include "platform/Prompter.h"
#include "platform/media/MediaBackend.h"

namespace korvana::test {

// Message boxes as a list of (text, caption).

class RecordingOpener final : public DesktopOpener {
  public:
    void OpenPath(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { opened.push_back(url); }

    std::vector<std::string> opened;
};

// Draws from a script, then repeats its last value.
class ScriptedRandom final : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<std::uint32_t> draws) : draws_(std::move(draws)) {}
    void Seed(std::uint32_t seed) override { seeds.push_back(seed); }
    std::uint32_t Draw() override {
        const std::uint32_t value = draws_.at(std::min(next_, draws_.size() - 1));
        ++next_;
        return value;
    }

    std::vector<std::uint32_t> seeds;

  private:
    std::vector<std::uint32_t> draws_;
    std::size_t next_ = 0;
};

// A playback session that the test moves by hand. Files are told apart by
// name; every call is recorded as a short line ("Open a.mp3", "Play").
class FakeMediaBackend final : public MediaBackend {
  public:
    bool Open(const std::filesystem::path& file) override {
        const std::string name = file.filename().string();
        calls.push_back("Open " + name);
        openFile = name;
        position = 0;
        const auto failure = openFailures.find(name);
        error = failure == openFailures.end() ? MediaError::None : failure->second;
        isOpen = error == MediaError::None;
        return isOpen;
    }
    std::int64_t LengthMs() const override { return isOpen ? length : 0; }
    std::int64_t PositionMs() const override { return position; }
    void Play() override {
        calls.push_back("Play");
        if (!isOpen) {
            error = MediaError::NotOpen;
        }
    }
    void Pause() override { calls.push_back("Pause"); }
    void Resume() override { calls.push_back("Resume"); }
    void Seek(std::int64_t ms) override {
        calls.push_back("Seek " + std::to_string(ms));
        position = ms;
    }
    void Stop() override { calls.push_back("Stop"); }
    void Close() override {
        calls.push_back("Close");
        isOpen = false;
    }
    void SetVolume(int value) override {
        calls.push_back("Volume " + std::to_string(value));
        volume = value;
    }
    MediaError LastError() const override { return error; }
    std::string LastErrorText() const override { return {}; }

    // Plays the open file to its end.
    void Finish() { position = length; }
    int Opens() const {
        int count = 0;
        for (const std::string& call : calls) {
            count += call.rfind("Open ", 0) == 0 ? 1 : 0;
        }
        return count;
    }

    std::map<std::string, MediaError> openFailures;
    std::vector<std::string> calls;
    std::string openFile;
    std::int64_t length = 185'000;
    std::int64_t position = 0;
    int volume = -1;
    bool isOpen = false;
    MediaError error = MediaError::None;
};

}  // namespace korvana::test
