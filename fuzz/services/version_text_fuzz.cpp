// The vendor's version text: trimming, parsing and the comparison with the
// running version must accept any bytes, and never call two versions newer
// than each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "services/VersionText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view version = korvana::TrimVersionText(input);
    const auto parsed = korvana::ParseVersion(version);
    if (parsed && (parsed->empty() || version.size() > korvana::kMaxVersionText)) {
        std::abort();
    }
    const std::size_t half = input.size() / 2;
    const std::string_view a = input.substr(0, half);
    const std::string_view b = input.substr(half);
    if (korvana::IsNewerVersion(a, b) && korvana::IsNewerVersion(b, a)) {
        std::abort();
    }
    if (korvana::IsNewerVersion(version, version)) {
        std::abort();
    }
    korvana::IsNewerVersion(version, korvana::kRunningVersion);
    return 0;
}
