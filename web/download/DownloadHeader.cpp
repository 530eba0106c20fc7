#include "web/download/DownloadHeader.h"

#include "util/AsciiCase.h"

#include <cctype>

namespace korvana {
namespace {

constexpr std::string_view kHeaderEnd = "\n\r\n";
constexpr std::string_view kVersion = "HTTP/1.";
constexpr std::string_view kLengthName = "content-length";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// "HTTP/1.x NNN": the three characters after the version digit and a blank.
int ReadStatus(std::string_view header) {
    const std::size_t version = header.find(kVersion);
    const std::size_t at = version + kVersion.size() + 2;
    if (version == std::string_view::npos || at + 3 > header.size()) {
        return -1;
    }
    int status = 0;
    for (std::size_t i = at; i < at + 3; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(header[i]))) {
            return -1;
        }
        status = status * 10 + (header[i] - '0');
    }
    return status;
}

// The value of one "Content-Length: N" line; -1 when the line is another
// header or its value is not a plain number.
std::int64_t ReadLengthLine(std::string_view line) {
    if (!StartsWithIgnoringCase(line, kLengthName)) {
        return -1;
    }
    std::size_t i = kLengthName.size();
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    if (i >= line.size() || line[i] != ':') {
        return -1;
    }
    ++i;
    while (i < line.size() && IsBlank(line[i])) {
        ++i;
    }
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
        if (++digits > kMaxLengthDigits) {
            return -1;
        }
        value = value * 10 + (line[i] - '0');
    }
    while (i < line.size() && (IsBlank(line[i]) || line[i] == '\r')) {
        ++i;
    }
    return digits > 0 && i == line.size() ? value : -1;
}

std::int64_t ReadContentLength(std::string_view header) {
    std::size_t start = header.find('\n');
    while (start != std::string_view::npos) {
        ++start;
        const std::size_t end = header.find('\n', start);
        const std::string_view line = header.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        const std::int64_t value = ReadLengthLine(line);
        if (value >= 0) {
            return value;
        }
        start = end;
    }
    return -1;
}

}  // namespace

std::size_t FindHeaderEnd(std::string_view text, std::size_t from) {
    const std::size_t found = text.find(kHeaderEnd, from);
    return found == std::string_view::npos ? found : found + kHeaderEnd.size();
}

DownloadHeader ParseDownloadHeader(std::string_view header) {
    DownloadHeader parsed;
    parsed.status = ReadStatus(header);
    if (parsed.status < 0) {
        parsed.status = 0;
        return parsed;
    }
    if (parsed.status < 200 || parsed.status >= 300) {
        parsed.verdict = DownloadHeader::Verdict::Refused;
        return parsed;
    }
    const std::int64_t length = ReadContentLength(header);
    if (length <= 0) {
        parsed.verdict = DownloadHeader::Verdict::NoLength;
        return parsed;
    }
    parsed.contentLength = length;
    parsed.verdict = DownloadHeader::Verdict::Ok;
    return parsed;
}

}  // namespace korvana
