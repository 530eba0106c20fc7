// The Library page's player: the buttons and sliders forward to the player
// logic, and every call is followed by a rendering of the player's state.
#include <QLabel>
#include <QTableView>
#include <algorithm>
#include <limits>

#include "controls/QtBridge.h"
#include "controls/SkinButton.h"
#include "library/PlayerState.h"
#include "library/ui/LibraryPage.h"
#include "library/ui/PlaylistTableModel.h"
#include "library/ui/ReleaseSlider.h"

namespace korvana {
namespace {

int ToSliderValue(std::int64_t ms) {
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()));
}

void SetTextIfChanged(QLabel& label, const QString& text) {
    if (label.text() != text) {
        label.setText(text);
    }
}

}  // namespace

void LibraryPage::ConnectPlayer() {
    // A moved track stays selected, and the playlist takes the focus so
    // that the keyboard goes on from it.
    const auto wire = [this](SkinButton* button, void (Player::*command)(),
                             bool focusPlaylist = false) {
        connect(button, &SkinButton::clicked, this, [this, command, focusPlaylist] {
            RunPlayer([command](Player& player) { (player.*command)(); });
            if (focusPlaylist) {
                playlist_->setFocus(Qt::OtherFocusReason);
            }
        });
    };
    wire(play_, &Player::Play);
    wire(pause_, &Player::Pause);
    wire(stop_, &Player::Stop);
    wire(nextTrack_, &Player::NextTrack);
    wire(previousTrack_, &Player::PreviousTrack);
    wire(moveUp_, &Player::MoveUp, true);
    wire(moveDown_, &Player::MoveDown, true);
    wire(removeTrack_, &Player::RemoveTrack);
    wire(removeAll_, &Player::RemoveAllTracks);
    wire(random_, &Player::ToggleRandom);
    wire(repeat_, &Player::ToggleRepeat);
    position_->OnRelease(
        [this](int value) { RunPlayer([value](Player& player) { player.Seek(value); }); });
    volume_->OnRelease(
        [this](int value) { RunPlayer([value](Player& player) { player.SetVolume(value); }); });
}

void LibraryPage::PlaybackTick() {
    player_.Tick();
    RenderPlayer();
}

// A command of the user's, from the page or the desktop: its effect is
// shown, and the state is saved a moment later.
void LibraryPage::RunPlayer(const std::function<void(Player&)>& command) {
    command(player_);
    ResumeWhereItStopped();
    RenderPlayer();
    if (!services_.playerState.empty()) {
        saveTimer_.start();
    }
}

void LibraryPage::RestorePlayer() {
    if (services_.playerState.empty()) {
        return;
    }
    const std::optional<PlayerState> state = LoadPlayerState(services_.playerState);
    if (!state) {
        return;
    }
    if (!state->tracks.empty()) {
        player_.AddSelection(state->tracks);
    }
    player_.SetVolume(state->volume);
    if (player_.RandomOrder() != state->randomOrder) {
        player_.ToggleRandom();
    }
    if (player_.RepeatAll() != state->repeatAll) {
        player_.ToggleRepeat();
    }
    if (state->current >= 0) {
        player_.SelectTrack(static_cast<std::size_t>(state->current));
        resume_.emplace(state->current, state->positionMs);
    }
}

// The track the program stopped on starts again where it stopped; any
// other start forgets that place.
void LibraryPage::ResumeWhereItStopped() {
    if (!resume_ || !player_.PlaybackOpen()) {
        return;
    }
    if (player_.GetPlaylist().Current() == resume_->first) {
        player_.Seek(resume_->second);
    }
    resume_.reset();
}

void LibraryPage::SavePlayer() {
    saveTimer_.stop();
    if (services_.playerState.empty()) {
        return;
    }
    PlayerState state;
    state.tracks = player_.GetPlaylist().Rows();
    state.volume = player_.Volume();
    state.randomOrder = player_.RandomOrder();
    state.repeatAll = player_.RepeatAll();
    state.current = player_.GetPlaylist().Current();
    state.positionMs = state.current >= 0 ? player_.SliderPosition() : 0;
    if (state.current < 0 && player_.GetPlaylist().Selected()) {
        state.current = static_cast<std::int64_t>(*player_.GetPlaylist().Selected());
    }
    SavePlayerState(services_.playerState, state);
}

void LibraryPage::RenderPlayer() {
    const QString title = TextFromBytes(player_.Title());
    SetTextIfChanged(*title_, title_->fontMetrics().elidedText(title, Qt::ElideRight,
                                                               std::max(0, title_->width())));
    title_->setToolTip(title);
    SetTextIfChanged(*time_, QString::fromStdString(player_.TimeText()));
    const int range = ToSliderValue(player_.SliderRange());
    if (position_->maximum() != range) {
        position_->setRange(0, range);
        position_->setPageStep(std::max(1, range / 10));
    }
    // A thumb that the user holds is left where it is.
    if (!position_->isSliderDown()) {
        position_->setValue(ToSliderValue(player_.SliderPosition()));
    }
    if (!volume_->isSliderDown()) {
        volume_->setValue(player_.Volume());
    }
    random_->SetCheck(player_.RandomOrder());
    repeat_->SetCheck(player_.RepeatAll());
    RenderPlaylist();
    // A paused track's position stands still, and it cannot end.
    const bool ticking = player_.TickRunning() && !player_.Paused();
    if (ticking && !tickTimer_.isActive()) {
        tickTimer_.start();
    } else if (!ticking) {
        tickTimer_.stop();
    }
}

// The view shows the playlist's rows and its one selected row: the rows'
// steps are taken at once, so the selection below lands on its row.
void LibraryPage::RenderPlaylist() {
    syncingPlaylist_ = true;
    playlistModel_->DrainNow();
    playlistModel_->ShowCurrent(player_.GetPlaylist().Current());
    const std::optional<std::size_t> selected = player_.GetPlaylist().Selected();
    const QModelIndexList shown = playlist_->selectionModel()->selectedRows();
    const bool same = selected
                          ? shown.size() == 1 && shown.front().row() == static_cast<int>(*selected)
                          : shown.isEmpty();
    if (!same) {
        if (selected) {
            playlist_->selectionModel()->setCurrentIndex(
                playlistModel_->index(static_cast<int>(*selected), 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        } else {
            playlist_->selectionModel()->clearSelection();
        }
    }
    syncingPlaylist_ = false;
}

void LibraryPage::OnPlaylistSelectionChanged() {
    if (syncingPlaylist_) {
        return;
    }
    const QModelIndexList rows = playlist_->selectionModel()->selectedRows();
    player_.SelectTrack(rows.isEmpty() ? std::nullopt
                                       : std::optional<std::size_t>(rows.front().row()));
}

}  // namespace korvana
