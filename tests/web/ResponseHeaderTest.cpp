#include "web/ResponseHeader.h"

#include <gtest/gtest.h>

#include <string>

#include "search/ProbeHeader.h"
#include "web/download/DownloadHeader.h"

namespace korvana {
namespace {

std::optional<int> StatusOf(std::string_view header) {
    return ParseResponseHeader(header).status;
}

std::optional<std::int64_t> LengthOf(std::string_view fields) {
    return ParseResponseHeader("HTTP/1.1 200 OK\r\n" + std::string(fields)).contentLength;
}

TEST(ResponseHeader, StatusComesOnlyFromAnOpeningStatusLine) {
    EXPECT_EQ(StatusOf("HTTP/1.1 200 OK\r\nX: y\r"), 200);
    EXPECT_EQ(StatusOf("HTTP/1.0 404"), 404);
    EXPECT_EQ(StatusOf("HTTP/1.0 302 Found\nLocation: /x\n"), 302);

    EXPECT_FALSE(StatusOf(""));
    EXPECT_FALSE(StatusOf("ICY 200 OK\r\n"));
    EXPECT_FALSE(StatusOf("HTTP/1.1 2"));
    EXPECT_FALSE(StatusOf("HTTP/1.1 abc OK"));
    EXPECT_FALSE(StatusOf("HTTP/1.1  200 OK"));
    EXPECT_FALSE(StatusOf("HTTP/1.1 2000 OK"));
    EXPECT_FALSE(StatusOf("HTTP/2 200"));
    // Text before the status line: a page about HTTP, not an answer.
    EXPECT_FALSE(StatusOf("<p>HTTP/1.1 200 OK</p>"));
}

TEST(ResponseHeader, ContentLengthIsTheFirstFieldAsPlainDigits) {
    EXPECT_EQ(LengthOf("Content-Length: 6442450944\r\n"), 6442450944);
    EXPECT_EQ(LengthOf("content-LENGTH :\t42 \r\n"), 42);
    EXPECT_EQ(LengthOf("Content-length: 0\r\n"), 0);
    EXPECT_EQ(LengthOf("Content-Length: 999999999999999\r\n"), 999'999'999'999'999);
    EXPECT_EQ(LengthOf("Content-Length: 7\r\nContent-Length: 9\r\n"), 7);

    EXPECT_FALSE(LengthOf("Content-Type: audio/mpeg\r\n"));
    EXPECT_FALSE(LengthOf("X-Content-Length: 5\r\n"));
    EXPECT_FALSE(LengthOf("Content-Length:\r\n"));
    EXPECT_FALSE(LengthOf("Content-Length: 12abc\r\n"));
    EXPECT_FALSE(LengthOf("Content-Length: -5\r\n"));
    EXPECT_FALSE(LengthOf("Content-Length: +5\r\n"));
    EXPECT_FALSE(LengthOf("Content-Length: 1234567890123456\r\n"));
    // The first field decides: a bad one is not passed over for a later one.
    EXPECT_FALSE(LengthOf("Content-Length: many\r\nContent-Length: 9\r\n"));
    // A folded continuation line is not a field of its own.
    EXPECT_FALSE(LengthOf("X: a\r\n Content-Length: 5\r\n"));
}

TEST(ResponseHeader, LocationIsTheFirstFieldWithoutBlanks) {
    EXPECT_EQ(ParseResponseHeader("HTTP/1.1 302 Found\r\nLocation:  /x  \r\n").location, "/x");
    EXPECT_EQ(ParseResponseHeader("HTTP/1.1 302 Found\nlocation: a\nLocation: b\n").location, "a");
    EXPECT_EQ(ParseResponseHeader("HTTP/1.1 302 Found\r\nLOCATION : http://h:81/p?q\r").location,
              "http://h:81/p?q");
    EXPECT_EQ(ParseResponseHeader("HTTP/1.1 302 Found\r\nContent-Location: /x\r\n").location, "");
    EXPECT_EQ(ParseResponseHeader("HTTP/1.1 302 Found\r\nLocation:\r\n").location, "");
}

// A header that never ends is read only up to its limit, whatever follows.
TEST(ResponseHeader, ReadsNoFurtherThanItsLimit) {
    const std::string filler = "X-Filler: " + std::string(kMaxHeaderBytes, 'f') + "\r\n";
    EXPECT_EQ(LengthOf("Content-Length: 5\r\n" + filler), 5);
    EXPECT_FALSE(LengthOf(filler + "Content-Length: 5\r\n"));
    // The limit falls inside a value: the line is not read at all, rather
    // than read as a shorter number.
    const std::string status = "HTTP/1.1 200 OK\r\n";
    const std::string field = "Content-Length: 12";
    const std::string padding =
        "X: " + std::string(kMaxHeaderBytes - status.size() - field.size() - 5, 'p') + "\r\n";
    const std::string header = status + padding + field + "3456\r\n";
    ASSERT_EQ(header.find("3456"), kMaxHeaderBytes);
    EXPECT_FALSE(ParseResponseHeader(header).contentLength);
    EXPECT_EQ(ParseResponseHeader(status + padding.substr(10) + field + "3456\r\n").contentLength,
              123456);
}

TEST(ResponseHeader, TheEndIsTheFirstBlankLine) {
    EXPECT_EQ(FindHeaderEnd("HTTP/1.0 200 OK\r\n\r\nbody"), 19u);
    EXPECT_EQ(FindHeaderEnd("HTTP/1.0 200 OK\n\r\nbody"), 18u);
    EXPECT_EQ(FindHeaderEnd("HTTP/1.0 200 OK\r\nContent-Length: 4\r\n"), std::string_view::npos);
    EXPECT_EQ(FindHeaderEnd("abc\r\n\r\nx", 3), 7u);
}

TEST(ResponseHeader, BodyAndFinalHeaderOfARawAnswer) {
    EXPECT_EQ(TextAfterHeader("HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody\r\n\r\nmore"),
              "body\r\n\r\nmore");
    EXPECT_EQ(TextAfterHeader("HTTP/1.0 200 OK\r\nno end"), "");
    EXPECT_EQ(TextAfterHeader(""), "");
    EXPECT_EQ(FinalHeader("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nX: y\r\n\r\nbody"),
              "HTTP/1.1 200 OK\r\nX: y\r");
    EXPECT_EQ(FinalHeader("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 103 Hints\r\n\r\nHTTP/1.1 404 "
                          "Not Found\r\n\r\n"),
              "HTTP/1.1 404 Not Found\r");
    EXPECT_EQ(FinalHeader("HTTP/1.1 200 OK\r\nX: y\r"), "HTTP/1.1 200 OK\r\nX: y\r");
    EXPECT_EQ(FinalBody("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n\r\na\r\n\r\nb"),
              "a\r\n\r\nb");
    EXPECT_EQ(FinalBody("HTTP/1.1 200 OK\r\n\r\na\r\n\r\nb"), "a\r\n\r\nb");
    EXPECT_EQ(FinalBody("HTTP/1.1 100 Continue\r\n\r\n"), "");
}

// The size probe and the download read a header the same way; they differ
// only in the statuses they take.
TEST(ResponseHeader, ProbeAndDownloadReadLengthsAlike) {
    for (const std::string fields :
         {"content-LENGTH :\t42 \r\n", "Content-Length: 12abc\r\n", "Content-Length: +5\r\n",
          "Content-Length: 7\r\nContent-Length: 9\r\n", "Content-Length: 0\r\n"}) {
        const std::string header = "HTTP/1.1 200 OK\r\n" + fields;
        const DownloadHeader download = ParseDownloadHeader(header);
        const std::optional<std::int64_t> size = SizeFromHeader(header);
        EXPECT_EQ(size.has_value(), download.verdict == DownloadHeader::Verdict::Ok) << fields;
        EXPECT_EQ(size.value_or(0), download.contentLength) << fields;
    }
    EXPECT_EQ(SizeFromHeader("HTTP/1.1 200 OK\r\ncontent-LENGTH :\t42 \r\n"), 42);
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 200 OK\r\nContent-Length: 12abc\r\n"));
    // A partial answer delivers a download but tells a probe nothing.
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.1 206 Partial\r\nContent-Length: 5\r\n").verdict,
              DownloadHeader::Verdict::Ok);
    EXPECT_FALSE(SizeFromHeader("HTTP/1.1 206 Partial\r\nContent-Length: 5\r\n"));
}

}  // namespace
}  // namespace korvana
