#include "desktop/MediaControl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "desktop/FileUri.h"
#include "library/Player.h"
#include "platform/media/MediaBackend.h"

namespace korvana {

namespace {

bool Playing(const Player& player) {
    return player.PlaybackOpen() && !player.Paused();
}

// Valid as a D-Bus object path whatever the file is called: the playlist
// row, and a hash of the path so that another file on the same row is
// another track.
std::string TrackId(const Player& player) {
    const std::int64_t row = player.GetPlaylist().Current();
    if (!player.PlaybackOpen() || row < 0) {
        return kNoTrackId;
    }
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : player.CurrentFile()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char id[80];
    std::snprintf(id, sizeof id, "/org/korvana/Track/r%lld_%016llx", static_cast<long long>(row),
                  static_cast<unsigned long long>(hash));
    return id;
}

bool IsReadableFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && std::ifstream(path).good();
}

}  // namespace

MediaState ReadMediaState(const Player& player) {
    MediaState state;
    state.status = Playing(player) ? "Playing" : player.PlaybackOpen() ? "Paused" : "Stopped";
    state.trackId = TrackId(player);
    if (state.trackId != kNoTrackId) {
        state.title = player.Title();
        state.url = FileUriFromLocalPath(player.CurrentFile());
        state.lengthUs = player.SliderRange() * 1000;
    }
    state.volume = static_cast<double>(player.Volume()) / kMaxVolume;
    const bool tracks = !player.GetPlaylist().Empty();
    state.canGoNext = tracks;
    state.canGoPrevious = tracks;
    state.canPlay = tracks;
    state.canPause = player.PlaybackOpen();
    state.canSeek = player.PlaybackOpen() && player.SliderRange() > 0;
    return state;
}

std::int64_t MediaPositionUs(const Player& player) {
    return player.PlaybackOpen() ? player.SliderPosition() * 1000 : 0;
}

void MediaPlay(Player& player) {
    if (player.Paused() || (!player.PlaybackOpen() && !player.GetPlaylist().Empty())) {
        player.Play();
    }
}

void MediaPause(Player& player) {
    if (Playing(player)) {
        player.Pause();
    }
}

void MediaPlayPause(Player& player) {
    if (Playing(player)) {
        player.Pause();
    } else {
        MediaPlay(player);
    }
}

void MediaStop(Player& player) {
    player.Stop();
}

void MediaNext(Player& player) {
    if (!player.GetPlaylist().Empty()) {
        player.NextTrack();
    }
}

void MediaPrevious(Player& player) {
    if (!player.GetPlaylist().Empty()) {
        player.PreviousTrack();
    }
}

void MediaSeek(Player& player, std::int64_t offsetUs) {
    if (!player.PlaybackOpen()) {
        return;
    }
    const std::int64_t target =
        std::max<std::int64_t>(0, player.SliderPosition() + offsetUs / 1000);
    if (target > player.SliderRange()) {
        player.NextTrack();
        return;
    }
    player.Seek(target);
}

void MediaSetPosition(Player& player, std::string_view trackId, std::int64_t positionUs) {
    if (!player.PlaybackOpen() || trackId != TrackId(player) || positionUs < 0 ||
        positionUs / 1000 > player.SliderRange()) {
        return;
    }
    player.Seek(positionUs / 1000);
}

void MediaSetVolume(Player& player, double volume) {
    if (std::isnan(volume)) {
        return;
    }
    player.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * kMaxVolume)));
}

bool MediaOpenUri(Player& player, std::string_view uri) {
    const std::optional<std::string> path = LocalPathFromFileUri(uri);
    if (!path || !IsReadableFile(*path)) {
        return false;
    }
    // A paused track would only be resumed by Play.
    if (player.Paused()) {
        player.Stop();
    }
    const std::string title = std::filesystem::path(*path).filename().string();
    player.AddSelection({Track{title, *path}});
    player.SelectTrack(static_cast<std::size_t>(player.GetPlaylist().Size() - 1));
    player.Play();
    return true;
}

}  // namespace korvana
