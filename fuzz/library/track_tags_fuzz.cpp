#include <cstddef>
#include <cstdint>
#include <string_view>

#include "library/TrackTags.h"

// Reads the tags and stream properties of arbitrary bytes, as the library
// does for every file in the downloads folder: whatever the bytes claim,
// the read ends, stays inside them, and gives texts within their bound.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const korvana::TrackTags tags = korvana::ReadTrackTagsFromBytes(bytes);
    if (tags.artist.size() > korvana::TrackTags::kMaxTagText ||
        tags.title.size() > korvana::TrackTags::kMaxTagText ||
        tags.album.size() > korvana::TrackTags::kMaxTagText || tags.lengthSeconds < 0 ||
        tags.bitrateKbps < 0) {
        __builtin_trap();
    }
    return 0;
}
