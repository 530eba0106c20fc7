#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "library/Playlist.h"
#include "platform/media/MediaBackend.h"

namespace korvana {

class Clock;
class Prompter;
class RandomSource;

// The Library page's player: a playlist, transport commands, random and
// repeat switches, and what the page shows (title, time text, position
// slider). Every track plays from a copy in the TempPlay folder through
// the media backend; the backend's open session is the playback window.
// The page calls the commands on the GUI thread and renders the state
// after each call; while TickRunning() it calls Tick every kTickInterval.
class Player {
  public:
    Player(MediaBackend& media, Prompter& prompter, const Clock& clock, RandomSource& random,
           std::filesystem::path tempPlay);

    static constexpr std::chrono::milliseconds kTickInterval{500};

    // Transport.
    void Play();
    void Pause();
    void Stop();
    void NextTrack();
    void PreviousTrack();
    // The library's selected files, as title and path.
    void PlaySelection(const std::vector<Track>& selection);
    // Plays playlist row `row` from its start, whatever plays or is paused;
    // a row past the end does nothing.
    void PlayRow(std::size_t row);
    void AddSelection(const std::vector<Track>& selection);
    void Tick();
    // The position slider was released at `positionMs`.
    void Seek(std::int64_t positionMs);
    // The volume slider was released at `volume` (0..1000).
    void SetVolume(int volume);
    // Called whenever the track, the play or pause state or the volume may
    // have changed, by whichever command or tick changed it, so that a
    // watcher outside the page (the desktop's media controls) can follow.
    void SetChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }
    void ToggleRandom() { randomOrder_ = !randomOrder_; }
    void ToggleRepeat() { repeatAll_ = !repeatAll_; }

    // The playlist; none of these stops playback.
    const Playlist& GetPlaylist() const { return playlist_; }
    void SelectTrack(std::optional<std::size_t> row) { playlist_.Select(row); }
    void MoveUp() { playlist_.MoveSelectedUp(); }
    void MoveDown() { playlist_.MoveSelectedDown(); }
    void RemoveTrack() { playlist_.RemoveSelected(); }
    void RemoveAllTracks() { playlist_.Clear(); }

    // What the page shows.
    const std::string& Title() const { return title_; }
    const std::string& TimeText() const { return timeText_; }
    std::int64_t SliderRange() const { return sliderRange_; }
    std::int64_t SliderPosition() const { return sliderPosition_; }
    int Volume() const { return volume_; }
    bool TickRunning() const { return tickRunning_; }

    // The player's state.
    const std::string& CurrentFile() const { return currentFile_; }
    bool PlaybackOpen() const { return playbackOpen_; }
    bool Paused() const { return paused_; }
    bool RandomOrder() const { return randomOrder_; }
    bool RepeatAll() const { return repeatAll_; }
    MediaError StartError() const { return startError_; }

  private:
    enum class StartOutcome { Playing, NotCopied, Failed };

    void Start(std::string file);
    StartOutcome StartOnce(const std::string& file);
    std::string ChooseNext();
    // Makes playlist row `row` the current file, stopping what plays.
    void LeaveFor(std::int64_t row);
    // Takes the row's title and starts its file.
    void StartRow(std::int64_t row);
    std::int64_t DrawOtherRow(std::int64_t current, std::int64_t rows);
    void ShowTime(std::int64_t playedMs, std::int64_t lengthMs);
    void Changed() const {
        if (changed_) {
            changed_();
        }
    }

    MediaBackend& media_;
    Prompter& prompter_;
    const Clock& clock_;
    RandomSource& random_;
    std::filesystem::path tempPlay_;
    Playlist playlist_;

    std::string currentFile_;
    bool playbackOpen_ = false;
    bool paused_ = false;
    bool randomOrder_ = false;
    bool repeatAll_ = false;
    MediaError startError_ = MediaError::None;

    std::string title_;
    std::string timeText_;
    std::int64_t sliderRange_ = 0;
    std::int64_t sliderPosition_ = 0;
    int volume_ = kMaxVolume;
    bool tickRunning_ = false;
    std::function<void()> changed_;
};

}  // namespace korvana
