#include <gtest/gtest.h>

#include "web/download/DownloadHeader.h"

namespace korvana {
namespace {

using Verdict = DownloadHeader::Verdict;

TEST(DownloadHeader, StatusAndLengthOfAGoodAnswer) {
    const DownloadHeader header =
        ParseDownloadHeader("HTTP/1.1 200 OK\r\nServer: sim\r\nContent-Length: 6442450944\r\n\r\n");
    EXPECT_EQ(header.verdict, Verdict::Ok);
    EXPECT_EQ(header.status, 200);
    EXPECT_EQ(header.contentLength, 6442450944);
    // The header's name in any letter case, blanks around the value.
    EXPECT_EQ(
        ParseDownloadHeader("HTTP/1.0 206 Partial\r\ncontent-LENGTH :\t42 \r\n").contentLength, 42);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\nContent-length: 7\n").contentLength, 7);
}

TEST(DownloadHeader, AnswersThatDoNotDeliverTheFile) {
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 404 Not Found\r\nContent-Length: 9\r\n").verdict,
              Verdict::Refused);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 302 Found\r\nLocation: /x\r\n").verdict,
              Verdict::Refused);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.1 100 Continue\r\n").verdict, Verdict::Refused);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\r\nServer: sim\r\n").verdict, Verdict::NoLength);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n").verdict,
              Verdict::NoLength);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\r\nContent-Length: -5\r\n").verdict,
              Verdict::NoLength);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n").verdict,
              Verdict::NoLength);
    EXPECT_EQ(
        ParseDownloadHeader("HTTP/1.0 200 OK\r\nContent-Length: 1234567890123456\r\n").verdict,
        Verdict::NoLength);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.0 200 OK\r\nX-Content-Length: 5\r\n").verdict,
              Verdict::NoLength);
}

TEST(DownloadHeader, TextThatIsNotAnHttpAnswer) {
    EXPECT_EQ(ParseDownloadHeader("ICY 200 OK\r\nContent-Length: 5\r\n").verdict,
              Verdict::NoStatusLine);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.1 2").verdict, Verdict::NoStatusLine);
    EXPECT_EQ(ParseDownloadHeader("HTTP/1.1 abc OK\r\n").verdict, Verdict::NoStatusLine);
    EXPECT_EQ(ParseDownloadHeader("").verdict, Verdict::NoStatusLine);
}

}  // namespace
}  // namespace korvana
