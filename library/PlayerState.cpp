#include "library/PlayerState.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "library/SavedFile.h"

namespace korvana {
namespace {

using Json = nlohmann::json;

constexpr int kStateVersion = 1;

std::int64_t NumberOr(const Json& object, const char* name, std::int64_t fallback) {
    const auto found = object.find(name);
    return found != object.end() && found->is_number_integer() ? found->get<std::int64_t>()
                                                               : fallback;
}

bool FlagOr(const Json& object, const char* name, bool fallback) {
    const auto found = object.find(name);
    return found != object.end() && found->is_boolean() ? found->get<bool>() : fallback;
}

std::string TextOr(const Json& object, const char* name) {
    const auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

}  // namespace

std::string PlayerStateText(const PlayerState& state) {
    Json tracks = Json::array();
    for (const Track& track : state.tracks) {
        tracks.push_back({{"title", track.title}, {"path", track.fullPath}});
    }
    const Json root = {
        {"version", kStateVersion},  {"volume", state.volume},   {"random", state.randomOrder},
        {"repeat", state.repeatAll}, {"current", state.current}, {"positionMs", state.positionMs},
        {"tracks", tracks}};
    // Invalid UTF-8 in a file name is kept as it is rather than refused.
    return root.dump(1, ' ', false, Json::error_handler_t::replace);
}

std::optional<PlayerState> ReadPlayerState(std::string_view text) {
    if (text.size() > PlayerState::kMaxFileBytes) {
        return std::nullopt;
    }
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded() || !root.is_object() || NumberOr(root, "version", 0) != kStateVersion) {
        return std::nullopt;
    }
    PlayerState state;
    const auto tracks = root.find("tracks");
    if (tracks != root.end() && tracks->is_array()) {
        for (const Json& entry : *tracks) {
            if (state.tracks.size() == PlayerState::kMaxTracks) {
                break;
            }
            if (!entry.is_object() || TextOr(entry, "path").empty()) {
                continue;
            }
            const std::string path = TextOr(entry, "path");
            std::string title = TextOr(entry, "title");
            if (title.empty()) {
                title = std::filesystem::path(path).filename().string();
            }
            state.tracks.push_back({std::move(title), path});
        }
    }
    state.volume =
        static_cast<int>(std::clamp<std::int64_t>(NumberOr(root, "volume", 1000), 0, 1000));
    state.randomOrder = FlagOr(root, "random", false);
    state.repeatAll = FlagOr(root, "repeat", false);
    const std::int64_t current = NumberOr(root, "current", -1);
    state.current =
        current >= 0 && current < static_cast<std::int64_t>(state.tracks.size()) ? current : -1;
    state.positionMs =
        state.current < 0 ? 0 : std::max<std::int64_t>(0, NumberOr(root, "positionMs", 0));
    return state;
}

bool SavePlayerState(const std::filesystem::path& file, const PlayerState& state) {
    return SaveFileWhole(file, PlayerStateText(state));
}

std::optional<PlayerState> LoadPlayerState(const std::filesystem::path& file) {
    const std::optional<std::string> text = LoadFileUpTo(file, PlayerState::kMaxFileBytes);
    return text ? ReadPlayerState(*text) : std::nullopt;
}

}  // namespace korvana
