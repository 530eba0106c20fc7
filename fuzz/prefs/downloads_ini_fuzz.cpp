#include <cstddef>
#include <cstdint>
#include <string_view>

#include "prefs/DownloadsIni.h"

// Reads arbitrary bytes as the core's downloads.ini. Whatever the input, every
// folder read must be a non-empty path without a zero byte that fits on one
// line of the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (const std::string& folder : korvana::ReadSharedFolders(content)) {
        if (folder.empty() || folder.size() > korvana::kMaxIniLineChars ||
            folder.find('\0') != std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
