#pragma once

#include <cstdint>
#include <string>

namespace korvana {

// A track's length as people write it: "3:05", "1:02:05"; "" for none
// (0 or less).
std::string LengthText(std::int64_t seconds);
// A bit rate as lists show it: "192 kbps"; "" for none (0 or less).
std::string BitrateText(std::int64_t kbps);

}  // namespace korvana
