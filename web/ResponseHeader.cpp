#include "web/ResponseHeader.h"

#include "util/AsciiCase.h"

namespace korvana {
namespace {

constexpr std::string_view kVersion = "HTTP/1.";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// "HTTP/1.x NNN" with exactly three digits, then the end or the reason.
std::optional<int> ReadStatusLine(std::string_view line) {
    const std::size_t at = kVersion.size();
    if (!line.starts_with(kVersion) || line.size() < at + 5 || !IsDigit(line[at]) ||
        line[at + 1] != ' ') {
        return std::nullopt;
    }
    int status = 0;
    for (std::size_t i = at + 2; i < at + 5; ++i) {
        if (!IsDigit(line[i])) {
            return std::nullopt;
        }
        status = status * 10 + (line[i] - '0');
    }
    if (line.size() > at + 5 && IsDigit(line[at + 5])) {
        return std::nullopt;
    }
    return status;
}

std::optional<std::int64_t> ReadLength(std::string_view value) {
    if (value.empty() || value.size() > kMaxLengthDigits) {
        return std::nullopt;
    }
    std::int64_t length = 0;
    for (const char c : value) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        length = length * 10 + (c - '0');
    }
    return length;
}

// The line from `start` to its line feed (or the end), without a carriage
// return before it.
std::string_view LineAt(std::string_view text, std::size_t start, std::size_t end) {
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    return line;
}

class FieldReader {
  public:
    explicit FieldReader(ResponseHeader& header) : header_(header) {}

    void Read(std::string_view line) {
        // A line that starts with a blank continues the field before it.
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || line.empty() || IsBlank(line.front())) {
            return;
        }
        const std::string_view name = TrimBlanks(line.substr(0, colon));
        const std::string_view value = TrimBlanks(line.substr(colon + 1));
        if (!lengthSeen_ && EqualsIgnoringCase(name, "content-length")) {
            lengthSeen_ = true;
            header_.contentLength = ReadLength(value);
        } else if (!locationSeen_ && EqualsIgnoringCase(name, "location")) {
            locationSeen_ = true;
            header_.location = value;
        }
    }

  private:
    ResponseHeader& header_;
    bool lengthSeen_ = false;
    bool locationSeen_ = false;
};

// `response` from its final answer on: interim 1xx answers skipped.
std::string_view FinalAnswer(std::string_view response) {
    for (;;) {
        const std::size_t end = FindHeaderEnd(response);
        if (end == std::string_view::npos) {
            return response;
        }
        const std::optional<int> status =
            ParseResponseHeader(response.substr(0, end - kHeaderEnd.size())).status;
        if (!status || *status / 100 != 1) {
            return response;
        }
        response.remove_prefix(end);
    }
}

}  // namespace

ResponseHeader ParseResponseHeader(std::string_view header) {
    if (header.size() > kMaxHeaderBytes) {
        // Only whole lines: a cut inside a value would shorten it.
        const std::size_t lastLineEnd = header.rfind('\n', kMaxHeaderBytes);
        header =
            header.substr(0, lastLineEnd == std::string_view::npos ? kMaxHeaderBytes : lastLineEnd);
    }
    ResponseHeader parsed;
    std::size_t end = header.find('\n');
    parsed.status = ReadStatusLine(LineAt(header, 0, end));
    FieldReader fields(parsed);
    while (end != std::string_view::npos) {
        const std::size_t start = end + 1;
        end = header.find('\n', start);
        fields.Read(LineAt(header, start, end));
    }
    return parsed;
}

std::size_t FindHeaderEnd(std::string_view text, std::size_t from) {
    const std::size_t found = text.find(kHeaderEnd, from);
    return found == std::string_view::npos ? found : found + kHeaderEnd.size();
}

std::string_view TextAfterHeader(std::string_view response) {
    const std::size_t end = FindHeaderEnd(response);
    return end == std::string_view::npos ? std::string_view() : response.substr(end);
}

std::string_view FinalHeader(std::string_view response) {
    response = FinalAnswer(response);
    const std::size_t end = FindHeaderEnd(response);
    return end == std::string_view::npos ? response : response.substr(0, end - kHeaderEnd.size());
}

std::string_view FinalBody(std::string_view response) {
    return TextAfterHeader(FinalAnswer(response));
}

}  // namespace korvana
