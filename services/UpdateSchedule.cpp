#include "services/UpdateSchedule.h"

#include <cstddef>

namespace korvana {
namespace {

// More digits than this cannot be a time the clock will reach.
constexpr std::size_t kMaxTimeDigits = 15;

}  // namespace

std::int64_t ParseStoredTime(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (++digits > kMaxTimeDigits) {
            return 0;
        }
        value = value * 10 + (text[at] - '0');
    }
    return negative ? -value : value;
}

bool IsUpdateCheckDue(const std::optional<std::string>& lastChecked, std::time_t now) {
    if (!lastChecked) {
        return true;
    }
    const std::int64_t last = ParseStoredTime(*lastChecked);
    const auto current = static_cast<std::int64_t>(now);
    return last + kSecondsPerDay < current || last > current + kSecondsPerDay;
}

}  // namespace korvana
