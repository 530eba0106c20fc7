#pragma once

#include <cstddef>
#include <cstdint>

namespace korvana {

// Scales interleaved 16-bit samples by volume / 1000 (0 mutes, 1000 keeps
// them as they are); volumes outside 0..1000 are clamped.
void ScaleVolume(std::int16_t* samples, std::size_t count, int volume);

}  // namespace korvana
