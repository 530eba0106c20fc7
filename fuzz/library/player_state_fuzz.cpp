#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/PlayerState.h"

// Reads the input as the player's saved state; what is read must survive
// being written and read again unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto state = korvana::ReadPlayerState(text);
    if (!state) {
        return 0;
    }
    if (state->tracks.size() > korvana::PlayerState::kMaxTracks || state->volume < 0 ||
        state->volume > 1000 || state->current >= static_cast<std::int64_t>(state->tracks.size())) {
        std::abort();
    }
    const auto again = korvana::ReadPlayerState(korvana::PlayerStateText(*state));
    if (!again || !(again->tracks.size() == state->tracks.size())) {
        std::abort();
    }
    return 0;
}
