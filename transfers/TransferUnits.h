#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvana {

// Sizes, rates and durations as people read them, for the transfer lists'
// tooltips and the Size column. Units step by 1024 and are written "kB",
// "MB", "GB", "TB"; a figure keeps one decimal. The list's own columns keep
// their fixed texts; these sit beside them.

// "0 bytes", "1 byte", "512 bytes", "4.2 MB"; "" for a negative count.
std::string HumanSize(std::int64_t bytes);
// "4.2 MB (4,404,019 bytes)"; below 1 kB only the byte count. "" for a
// negative count.
std::string HumanSizeWithBytes(std::int64_t bytes);
// "38.5 kB/s", "0 bytes/s"; "" for a negative or undefined rate.
std::string HumanRate(double bytesPerSecond);
// The two largest units that matter: "45 s", "2 min 10 s", "3 h 5 min",
// "2 d 4 h"; a whole unit drops the zero after it ("2 min"). "" for a
// negative count.
std::string HumanDuration(std::int64_t seconds);
// The count with a comma between each group of three digits: "4,404,019".
std::string GroupedDigits(std::int64_t value);

// What a download's row tells in its tooltips, by column.
// "1.8 MB of 4.2 MB received"; just the received size while the total is
// unknown (0 or less).
std::string ReceivedText(std::int64_t received, std::int64_t size);
// "2 min 10 s left"; "Nothing left to receive" at 0; "Time left not known"
// without an estimate.
std::string TimeLeftTip(std::optional<std::int64_t> secondsLeft);

}  // namespace korvana
