#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/DisplayText.h"

// Result names and log lines from outside: what is shown never holds a
// control character or a bidirectional control, never grows, and showing it
// again changes nothing.
namespace {

bool HoldsBidiControl(std::string_view text) {
    for (const std::string_view mark :
         {"\xD8\x9C", "\xE2\x80\x8E", "\xE2\x80\x8F", "\xE2\x80\xAA", "\xE2\x80\xAB",
          "\xE2\x80\xAC", "\xE2\x80\xAD", "\xE2\x80\xAE", "\xE2\x81\xA6", "\xE2\x81\xA7",
          "\xE2\x81\xA8", "\xE2\x81\xA9", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
        if (text.find(mark) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string shown = korvana::DisplayText(input);
    if (shown.size() > input.size() || HoldsBidiControl(shown) ||
        korvana::DisplayText(shown) != shown) {
        std::abort();
    }
    for (const char c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            std::abort();
        }
    }
    return 0;
}
