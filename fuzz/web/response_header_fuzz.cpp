#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/ProbeHeader.h"
#include "web/ResponseHeader.h"
#include "web/download/DownloadHeader.h"

// Treats the input as the first bytes of an answer: the header end is
// searched from every split point a read could make, the header before it
// is read, and the size probe and the download judge it. What is read must
// stand in the text, and both judges must agree with what was read.
namespace {

void CheckHeaderEnd(std::string_view answer) {
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
}

void CheckRead(std::string_view header, const korvana::ResponseHeader& read) {
    if (read.status && (*read.status < 0 || *read.status > 999)) {
        std::abort();
    }
    if (read.contentLength &&
        (*read.contentLength < 0 || *read.contentLength > 999'999'999'999'999 ||
         header.find(std::to_string(*read.contentLength)) == std::string_view::npos)) {
        std::abort();
    }
    if (read.location.find('\n') != std::string::npos ||
        header.find(read.location) == std::string_view::npos) {
        std::abort();
    }
}

void CheckJudges(std::string_view header, const korvana::ResponseHeader& read) {
    const auto size = korvana::SizeFromHeader(header);
    if (size && (read.status != 200 || size != read.contentLength || *size < 1)) {
        std::abort();
    }
    const korvana::DownloadHeader download = korvana::ParseDownloadHeader(header);
    const bool delivers = download.verdict == korvana::DownloadHeader::Verdict::Ok;
    if (delivers && (download.status < 200 || download.status > 299 ||
                     download.contentLength != read.contentLength)) {
        std::abort();
    }
    if (size && !delivers) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    CheckHeaderEnd(answer);
    const std::size_t end = korvana::FindHeaderEnd(answer);
    const std::string_view header =
        end == std::string_view::npos ? answer : answer.substr(0, end - korvana::kHeaderEnd.size());
    const korvana::ResponseHeader read = korvana::ParseResponseHeader(header);
    CheckRead(header, read);
    CheckJudges(header, read);
    const std::string_view final = korvana::FinalHeader(answer);
    if (final.size() > answer.size() || korvana::TextAfterHeader(answer).size() > answer.size() ||
        korvana::FinalBody(answer).size() > answer.size()) {
        std::abort();
    }
    return 0;
}
