#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/Playlist.h"

namespace korvana {

// What the player keeps across restarts: the playlist, the volume, the two
// order switches, and the track it was on with the position in it.
struct PlayerState {
    static constexpr std::size_t kMaxTracks = 10000;
    static constexpr std::size_t kMaxFileBytes = 4 * 1024 * 1024;

    std::vector<Track> tracks;
    int volume = 1000;
    bool randomOrder = false;
    bool repeatAll = false;
    // Row of `tracks`, -1 for none.
    std::int64_t current = -1;
    std::int64_t positionMs = 0;

    bool operator==(const PlayerState&) const = default;
};

// The state as JSON.
std::string PlayerStateText(const PlayerState& state);
// Reads what PlayerStateText wrote. Outside input all the same (the file can
// be edited or cut short): bounded, checked, and none when unreadable.
// Tracks without a path are skipped; numbers out of range are clamped.
std::optional<PlayerState> ReadPlayerState(std::string_view text);

// Writes the state whole (SaveFileWhole). False when it could not.
bool SavePlayerState(const std::filesystem::path& file, const PlayerState& state);
// The state in `file`; none when it is missing or unreadable.
std::optional<PlayerState> LoadPlayerState(const std::filesystem::path& file);

}  // namespace korvana
