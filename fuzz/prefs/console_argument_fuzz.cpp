#include <cstddef>
#include <cstdint>
#include <string_view>

#include "prefs/ConsoleArgument.h"
#include "tests/support/CoreConsoleTokens.h"

// Quotes arbitrary bytes as a folder for "share". Whatever the input, a
// command that is sent must be one console line, and the core must read it
// back as the command word and exactly the folder it was given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view folder(reinterpret_cast<const char*>(data), size);
    const auto argument = korvana::ConsoleArgument(folder);
    if (!argument) {
        return 0;
    }
    const std::string line = "share " + *argument;
    if (!korvana::IsOneConsoleLine(line)) {
        __builtin_trap();
    }
    const auto words = korvana::test::CoreConsoleTokens(line);
    if (!words || words->size() != 2 || (*words)[0] != "share" || (*words)[1] != folder) {
        __builtin_trap();
    }
    return 0;
}
