#pragma once

#include <cstdint>
#include <string_view>

namespace korvana {

// What the header of a download's answer says.
struct DownloadHeader {
    enum class Verdict {
        Ok,
        NoStatusLine,  // no "HTTP/1.x NNN" status line: not an HTTP answer
        Refused,       // a status outside 200 to 299: the server does not deliver the file
        NoLength,      // no usable Content-Length, or a length of 0
    };
    Verdict verdict = Verdict::NoStatusLine;
    int status = 0;
    std::int64_t contentLength = 0;
};

// Judges a download's header (the text before the blank line, read by
// ParseResponseHeader): a file comes only with a 2xx status and a length.
DownloadHeader ParseDownloadHeader(std::string_view header);

}  // namespace korvana
