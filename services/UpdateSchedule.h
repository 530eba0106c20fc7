#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// Settings key of the time of the last update check: seconds since the
// epoch as decimal text.
inline constexpr const char* kDayLastCheckedKey = "DayLastChecked";

inline constexpr std::int64_t kSecondsPerDay = 86400;

// The stored time read as a C program reads "%d": leading blanks, an
// optional sign, then digits up to the first other character. A text
// without a number, or one too large for a time, counts as 0.
std::int64_t ParseStoredTime(std::string_view text);

// Whether an update check is due at `now` given the stored time of the last
// one: when none is stored, when more than a day has passed (24 hours and one
// second at least), or when the stored time lies more than a day ahead, which
// only a clock set back can cause and which must not silence the check until
// that day comes.
bool IsUpdateCheckDue(const std::optional<std::string>& lastChecked, std::time_t now);

}  // namespace korvana
