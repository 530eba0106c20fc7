#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/download/DownloadFileName.h"

// Any name from a web page or the core becomes one that stays inside its
// folder: not empty, not "." or "..", no "/" and no control byte, at most
// 255 bytes, also with a number added.
namespace {

void CheckName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > korvana::kMaxFileNameBytes) {
        std::abort();
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const std::string safe = korvana::SafeFileName(name);
    CheckName(safe);
    if (korvana::SafeFileName(safe) != safe) {
        std::abort();
    }
    CheckName(korvana::NumberedFileName(safe, 1 + static_cast<int>(size % 10000)));
    return 0;
}
