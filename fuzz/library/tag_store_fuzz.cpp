#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "library/TagStore.h"

// Reads the input as the library's kept tags; what is read must be within
// the bounds and survive being written and read again unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto files = korvana::ReadTagStore(text);
    if (!files) {
        return 0;
    }
    if (files->size() > korvana::kMostStoredTags) {
        std::abort();
    }
    for (const korvana::StoredTags& file : *files) {
        if (file.file.empty() || file.state.size < 0 || file.state.modified < 0 ||
            file.tags.artist.size() > korvana::TrackTags::kMaxTagText ||
            file.tags.lengthSeconds < 0 || file.tags.bitrateKbps < 0) {
            std::abort();
        }
    }
    const auto again = korvana::ReadTagStore(korvana::TagStoreText(*files));
    if (!again || again->size() != files->size()) {
        std::abort();
    }
    return 0;
}
