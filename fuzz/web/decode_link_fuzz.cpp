#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/LinkText.h"

// Decoding never lengthens a link, and a name never holds a "/" that the
// title did not bring.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view link(reinterpret_cast<const char*>(data), size);
    const std::string decoded = korvana::DecodeLink(link);
    if (decoded.size() > link.size()) {
        std::abort();
    }
    for (const auto rule : {korvana::WmaRule::Keep, korvana::WmaRule::BecomesMp3}) {
        if (korvana::DetailResultName("t", decoded, rule).find('/') != std::string::npos) {
            std::abort();
        }
    }
    if (korvana::ListedResultName("t", decoded).find('/') != std::string::npos) {
        std::abort();
    }
    return 0;
}
