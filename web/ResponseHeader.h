#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// The servers' answers are scanned as text: a header ends at the first
// "\n\r\n" (the line feed of its last line and the blank line after it).
inline constexpr std::string_view kHeaderEnd = "\n\r\n";

// The longest header read; the socket client refuses longer ones by default.
inline constexpr std::size_t kMaxHeaderBytes = 64 * 1024;

// The longest Content-Length value read, in digits.
inline constexpr std::size_t kMaxLengthDigits = 15;

// What the header of one answer says. Fields a caller does not find here
// are of no use to this program.
struct ResponseHeader {
    // The three digits of a status line "HTTP/1.x NNN" that opens the text;
    // absent when it does not open with one.
    std::optional<int> status;
    // The value of the first Content-Length field (its name in any letter
    // case): absent when there is none or its value, blanks aside, is not
    // 1 to kMaxLengthDigits decimal digits.
    std::optional<std::int64_t> contentLength;
    // The value of the first Location field without the blanks around it;
    // empty when there is none.
    std::string location;
};

// Reads the header text (what stands before the blank line, or a header
// read alone). Lines end at a line feed, a carriage return before it is
// dropped; a field's name may have blanks before its colon. Reads at most
// kMaxHeaderBytes; never fails otherwise.
ResponseHeader ParseResponseHeader(std::string_view header);

// The offset just past the first "\n\r\n" at or after `from`, or npos.
std::size_t FindHeaderEnd(std::string_view text, std::size_t from = 0);

// The text after the first "\n\r\n"; empty when the text has none, since
// then it holds no body.
std::string_view TextAfterHeader(std::string_view response);

// The header of the final answer in `response`: the text before the first
// "\n\r\n", skipping interim 1xx answers; the whole text when it has no
// "\n\r\n" (a header read alone).
std::string_view FinalHeader(std::string_view response);

// The body of the final answer in `response`: the text after its header,
// interim 1xx answers skipped; empty when that header has no end.
std::string_view FinalBody(std::string_view response);

}  // namespace korvana
