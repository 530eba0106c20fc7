#include "search/ProbeHeader.h"

#include "web/ResponseHeader.h"

namespace korvana {

std::optional<std::int64_t> SizeFromHeader(std::string_view header) {
    const ResponseHeader parsed = ParseResponseHeader(header);
    if (parsed.status != 200 || parsed.contentLength.value_or(0) < 1) {
        return std::nullopt;
    }
    return parsed.contentLength;
}

}  // namespace korvana
