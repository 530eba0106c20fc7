#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "web/download/DownloadHeader.h"

// Treats the input as the first bytes of a download's answer: the header end
// is searched from every split point a read could make, and the header
// before it is read. A header that passes has a status from 200 to 299 and
// a length from 1 to 15 digits.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const std::size_t end = korvana::FindHeaderEnd(answer);
    if (end != std::string_view::npos && (end > answer.size() || end < 3)) {
        std::abort();
    }
    for (std::size_t from = 0; from < answer.size() && from < 64; ++from) {
        const std::size_t later = korvana::FindHeaderEnd(answer, from);
        if (later != std::string_view::npos && (end == std::string_view::npos || later < end)) {
            std::abort();
        }
    }
    const korvana::DownloadHeader header = korvana::ParseDownloadHeader(
        end == std::string_view::npos ? answer : answer.substr(0, end));
    if (header.verdict == korvana::DownloadHeader::Verdict::Ok &&
        (header.status < 200 || header.status > 299 || header.contentLength < 1 ||
         header.contentLength > 999'999'999'999'999)) {
        std::abort();
    }
    return 0;
}
