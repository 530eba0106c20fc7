#include "core/CoreResult.h"

#include <algorithm>
#include <iterator>

namespace korvana {

// Tags are only ever matched against typed words, never shown, so a cut
// through a multi-byte character does no harm.
void JoinTags(std::string& into, std::string_view artist, std::string_view title,
              std::string_view album) {
    const std::size_t start = into.size();
    for (const std::string_view tag : {artist, title, album}) {
        if (tag.empty()) {
            continue;
        }
        if (into.size() > start) {
            into.push_back('\n');
        }
        const std::string_view kept = tag.substr(0, CoreTag::kMaxText);
        std::transform(kept.begin(), kept.end(), std::back_inserter(into),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 ? ' ' : c; });
    }
}

}  // namespace korvana
