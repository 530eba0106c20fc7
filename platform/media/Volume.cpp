#include "platform/media/Volume.h"

#include <algorithm>

#include "platform/media/MediaBackend.h"

namespace korvana {

void ScaleVolume(std::int16_t* samples, std::size_t count, int volume) {
    const int level = std::clamp(volume, 0, kMaxVolume);
    if (level == kMaxVolume) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<std::int16_t>(samples[i] * level / kMaxVolume);
    }
}

}  // namespace korvana
