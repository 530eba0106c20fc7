#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "desktop/FileUri.h"

// Reads arbitrary bytes as a URI handed in by another program: a path comes
// out only for a well-formed local file URI, and that path turned back into
// a URI reads back as the same path.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view uri(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> path = korvana::LocalPathFromFileUri(uri);
    if (!path) {
        return 0;
    }
    if (path->empty() || path->front() != '/' || path->find('\0') != std::string::npos) {
        std::abort();
    }
    if (korvana::LocalPathFromFileUri(korvana::FileUriFromLocalPath(*path)) != path) {
        std::abort();
    }
    return 0;
}
