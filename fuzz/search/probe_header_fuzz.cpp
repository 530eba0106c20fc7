#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/ProbeHeader.h"

// Treats the input as the header a size probe received. A size, when one is
// read, is at least 1 and appears in the header as digits.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view header(reinterpret_cast<const char*>(data), size);
    const auto length = korvana::SizeFromHeader(header);
    if (length && (*length < 1 || header.find(std::to_string(*length)) == std::string_view::npos)) {
        std::abort();
    }
    return 0;
}
