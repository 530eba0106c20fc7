#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvana {

class Player;

// The desktop's media controls (media keys, the sound menu) in terms of the
// Library page's player. Their commands are kept to what a remote control
// may do: none of them opens a message box, and Play while a track plays
// leaves it playing instead of starting it over.

// The track id of a desktop player with no track.
inline constexpr const char* kNoTrackId = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// What the controls show: the state, the track and what may be asked.
struct MediaState {
    std::string status;  // "Playing", "Paused" or "Stopped"
    std::string trackId;
    std::string title;
    std::string url;
    std::int64_t lengthUs = 0;
    double volume = 1.0;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;

    bool operator==(const MediaState&) const = default;
};

MediaState ReadMediaState(const Player& player);
// Apart from the state: the position moves all the time and is read when
// asked, never announced.
std::int64_t MediaPositionUs(const Player& player);

void MediaPlay(Player& player);
void MediaPause(Player& player);
void MediaPlayPause(Player& player);
void MediaStop(Player& player);
void MediaNext(Player& player);
void MediaPrevious(Player& player);
// Moves by `offsetUs` from where the track is; before its start is its
// start, past its end is the next track.
void MediaSeek(Player& player, std::int64_t offsetUs);
// Moves to `positionUs` of the track `trackId`; ignored for another track
// (it has changed since the request was made) or a place outside it.
void MediaSetPosition(Player& player, std::string_view trackId, std::int64_t positionUs);
// 0 to 1; values outside are taken as the nearer end, NaN is ignored.
void MediaSetVolume(Player& player, double volume);
// Adds the local file a file:// URI names to the playlist and plays it;
// false (and nothing done) for any other URI or a path that is not a
// readable file.
bool MediaOpenUri(Player& player, std::string_view uri);

}  // namespace korvana
