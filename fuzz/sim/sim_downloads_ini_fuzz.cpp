#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/sim/DownloadsIni.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvana::sim::ParseDownloadsIni(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
