#pragma once

#include <cstdint>
#include <string>

namespace korvana {

// The player's time display, "%2d:%d%d / %2d:%d%d": played minutes, tens of
// seconds and seconds, then the same for the length. Minutes go past 59;
// negative values count as 0.
std::string FormatPlayTime(std::int64_t playedSeconds, std::int64_t lengthSeconds);

}  // namespace korvana
