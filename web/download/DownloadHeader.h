#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvana {

// The longest Content-Length value read, in digits.
inline constexpr std::size_t kMaxLengthDigits = 15;

// What the header of a download's answer says.
struct DownloadHeader {
    enum class Verdict {
        Ok,
        NoStatusLine,  // no "HTTP/1." with a three-digit status: not an HTTP answer
        Refused,       // a status outside 200 to 299: the server does not deliver the file
        NoLength,      // no usable Content-Length, or a length of 0
    };
    Verdict verdict = Verdict::NoStatusLine;
    int status = 0;
    std::int64_t contentLength = 0;
};

// The offset just past the first "\n\r\n" (the header's end) at or after
// `from`, or npos.
std::size_t FindHeaderEnd(std::string_view text, std::size_t from = 0);

// Reads a header (the text before the blank line): the status three
// characters after "HTTP/1.x ", and the Content-Length line, its name in
// any letter case, its value at most 15 decimal digits.
DownloadHeader ParseDownloadHeader(std::string_view header);

}  // namespace korvana
