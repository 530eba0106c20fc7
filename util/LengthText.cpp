#include "util/LengthText.h"

#include <cstdio>

namespace korvana {

std::string LengthText(std::int64_t seconds) {
    if (seconds <= 0) {
        return {};
    }
    const auto s = static_cast<long long>(seconds);
    char text[48];
    if (s >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", s / 60, s % 60);
    }
    return text;
}

std::string BitrateText(std::int64_t kbps) {
    return kbps > 0 ? std::to_string(kbps) + " kbps" : std::string();
}

}  // namespace korvana
