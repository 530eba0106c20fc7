#include "library/PlayTime.h"

#include <algorithm>
#include <cstdio>

namespace korvana {

std::string FormatPlayTime(std::int64_t playedSeconds, std::int64_t lengthSeconds) {
    const long long played = std::max<std::int64_t>(playedSeconds, 0);
    const long long length = std::max<std::int64_t>(lengthSeconds, 0);
    char text[64];
    std::snprintf(text, sizeof text, "%2lld:%lld%lld / %2lld:%lld%lld", played / 60,
                  played % 60 / 10, played % 10, length / 60, length % 60 / 10, length % 10);
    return text;
}

}  // namespace korvana
