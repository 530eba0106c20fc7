#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/sim/Catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    korvana::sim::ParseCatalogueText(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
