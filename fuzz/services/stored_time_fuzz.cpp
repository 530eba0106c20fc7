// The stored time of the last update check may hold anything a user or
// another program wrote there: reading it and applying the day rule must
// accept any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "services/UpdateSchedule.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::int64_t stored = korvana::ParseStoredTime(input);
    if (stored > 999'999'999'999'999 || stored < -999'999'999'999'999) {
        std::abort();
    }
    korvana::IsUpdateCheckDue(input, 1'700'000'000);
    return 0;
}
