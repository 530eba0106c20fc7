#include "library/Player.h"

#include <algorithm>

#include "library/PlayTime.h"
#include "library/RandomSource.h"
#include "library/TempPlay.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace korvana {

namespace {

// A generator that keeps drawing the current row must not hang the player:
// after this many draws the next row in order is taken.
constexpr int kMaxDraws = 1000;

}  // namespace

Player::Player(MediaBackend& media, Prompter& prompter, const Clock& clock, RandomSource& random,
               std::filesystem::path tempPlay)
    : media_(media),
      prompter_(prompter),
      clock_(clock),
      random_(random),
      tempPlay_(std::move(tempPlay)) {}

void Player::ShowTime(std::int64_t playedMs, std::int64_t lengthMs) {
    timeText_ = FormatPlayTime(playedMs / 1000, lengthMs / 1000);
}

void Player::Play() {
    if (paused_) {
        paused_ = false;
        media_.Resume();
        Changed();
        return;
    }
    if (playlist_.Empty()) {
        prompter_.Inform("Please add an item to play to the playlist", "Playlist Error");
        return;
    }
    const auto row = static_cast<std::int64_t>(playlist_.Selected().value_or(0));
    LeaveFor(row);
    StartRow(row);
}

void Player::PlayRow(std::size_t row) {
    const auto at = static_cast<std::int64_t>(row);
    if (at >= playlist_.Size()) {
        return;
    }
    playlist_.Select(row);
    LeaveFor(at);
    StartRow(at);
}

void Player::LeaveFor(std::int64_t row) {
    currentFile_ = playlist_.PathAt(row);
    if (playbackOpen_) {
        Stop();
    }
}

void Player::StartRow(std::int64_t row) {
    title_ = playlist_.TitleAt(row);
    playlist_.SetCurrent(row);
    paused_ = false;
    Start(currentFile_);
}

void Player::Pause() {
    if (!playbackOpen_) {
        return;
    }
    paused_ = !paused_;
    if (paused_) {
        media_.Pause();
    } else {
        media_.Resume();
    }
    Changed();
}

// A stopped track is no longer paused, so that the next Play starts a track
// instead of resuming nothing.
void Player::Stop() {
    if (!playbackOpen_) {
        return;
    }
    const bool started = startError_ == MediaError::None;
    if (started) {
        media_.Stop();
    }
    title_.clear();
    playlist_.SetCurrent(-1);
    timeText_.clear();
    tickRunning_ = false;
    media_.Close();
    playbackOpen_ = false;
    paused_ = false;
    sliderPosition_ = 0;
    if (started) {
        ClearTempPlay(tempPlay_);
    }
    Changed();
}

void Player::PlaySelection(const std::vector<Track>& selection) {
    if (selection.empty()) {
        prompter_.Inform("Please select an mp3 to play.", "Play Error");
        return;
    }
    playlist_.Clear();
    for (const Track& track : selection) {
        currentFile_ = track.fullPath;
        if (playbackOpen_) {
            Stop();
        }
        playlist_.Append(track);
    }
    Play();
}

void Player::AddSelection(const std::vector<Track>& selection) {
    if (selection.empty()) {
        prompter_.Inform("Please select an mp3 to play.", "Play Error");
        return;
    }
    for (const Track& track : selection) {
        playlist_.Append(track);
    }
}

void Player::NextTrack() {
    Start(ChooseNext());
}

void Player::PreviousTrack() {
    ClearTempPlay(tempPlay_);
    std::int64_t current = playlist_.Current();
    if (current == 0) {
        current = playlist_.Size();
    }
    // With no current track (-1) the row before it does not exist: the
    // texts read empty, the player stops and nothing starts.
    const std::int64_t row = current - 1;
    LeaveFor(row);
    StartRow(row);
}

// The moves of Next track up to the start: the file to start, or empty when
// playback ends here (after the last track, without repeat or random).
std::string Player::ChooseNext() {
    ClearTempPlay(tempPlay_);
    const std::int64_t current = playlist_.Current();
    const std::int64_t rows = playlist_.Size();
    std::int64_t next = 0;
    if (randomOrder_ && rows >= 2) {
        next = DrawOtherRow(current, rows);
    } else {
        next = current + 1 < rows ? current + 1 : 0;
    }
    LeaveFor(next);
    if (next == 0 && !repeatAll_ && !randomOrder_) {
        return {};
    }
    title_ = playlist_.TitleAt(next);
    playlist_.SetCurrent(next);
    paused_ = false;
    return currentFile_;
}

std::int64_t Player::DrawOtherRow(std::int64_t current, std::int64_t rows) {
    random_.Seed(static_cast<std::uint32_t>(clock_.WallNow()));
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        const auto row =
            static_cast<std::int64_t>(random_.Draw() % static_cast<std::uint64_t>(rows));
        if (row != current) {
            return row;
        }
    }
    return (current + 1) % rows;
}

// Starts a file (nothing for an empty path); a track that fails to start is
// skipped as at its end. When
// every track of the playlist has failed once in a row, the player stops
// instead of going round for ever.
void Player::Start(std::string file) {
    std::int64_t failures = 0;
    while (!file.empty()) {
        if (StartOnce(file) != StartOutcome::Failed) {
            return;
        }
        if (++failures >= playlist_.Size()) {
            Stop();
            ClearTempPlay(tempPlay_);
            return;
        }
        file = ChooseNext();
    }
}

Player::StartOutcome Player::StartOnce(const std::string& file) {
    const std::optional<std::filesystem::path> copy = CopyIntoTempPlay(tempPlay_, file);
    if (!copy) {
        return StartOutcome::NotCopied;
    }
    playbackOpen_ = true;
    startError_ = media_.Open(*copy) ? MediaError::None : media_.LastError();
    const std::int64_t length = media_.LengthMs();
    ShowTime(0, length);
    sliderRange_ = length;
    sliderPosition_ = 0;
    if (startError_ == MediaError::None) {
        media_.SetVolume(volume_);
        media_.Play();
        startError_ = media_.LastError();
    }
    paused_ = false;
    if (startError_ != MediaError::None) {
        Changed();
        return StartOutcome::Failed;
    }
    tickRunning_ = true;
    Changed();
    return StartOutcome::Playing;
}

void Player::Tick() {
    if (!tickRunning_ || !playbackOpen_) {
        return;
    }
    const std::int64_t position = media_.PositionMs();
    const std::int64_t length = media_.LengthMs();
    sliderPosition_ = position;
    ShowTime(position, length);
    if (position >= length) {
        sliderPosition_ = 0;
        ShowTime(0, length);
        NextTrack();
    }
}

void Player::Seek(std::int64_t positionMs) {
    if (!playbackOpen_) {
        sliderPosition_ = 0;
        return;
    }
    media_.Seek(positionMs);
    sliderPosition_ = positionMs;
}

void Player::SetVolume(int volume) {
    volume_ = std::clamp(volume, 0, kMaxVolume);
    if (playbackOpen_) {
        media_.SetVolume(volume_);
    }
    Changed();
}

}  // namespace korvana
