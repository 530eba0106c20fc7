#include "web/UrlEscape.h"

#include <gtest/gtest.h>

#include <string>

namespace korvana {
namespace {

const std::string kSample = std::string("a b\t\r\n\x7F\0", 8) + "\xC3\xA9\"<>\\^`{|}%/?&=#+~";

TEST(UrlEscape, RequestLineEscapesBlanksAndControlsOnly) {
    EXPECT_EQ(EscapeUrl(kSample, UrlEscape::RequestLine),
              "a%20b%09%0D%0A%7F%00\xC3\xA9\"<>\\^`{|}%/?&=#+~");
    EXPECT_EQ(EscapeUrl("/find?q=blue hour", UrlEscape::RequestLine), "/find?q=blue%20hour");
}

TEST(UrlEscape, WholeUrlAlsoEscapesWhatAUrlCannotHold) {
    EXPECT_EQ(EscapeUrl(kSample, UrlEscape::WholeUrl),
              "a%20b%09%0D%0A%7F%00%C3%A9%22%3C%3E%5C%5E%60%7B%7C%7D%/?&=#+~");
    // Escapes already made and the reserved characters keep their meaning.
    EXPECT_EQ(EscapeUrl("/a%20b?x=1&y=2#top", UrlEscape::WholeUrl), "/a%20b?x=1&y=2#top");
}

TEST(UrlEscape, QueryValueKeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(EscapeUrl("Az09-._~", UrlEscape::QueryValue), "Az09-._~");
    EXPECT_EQ(EscapeUrl(kSample, UrlEscape::QueryValue),
              "a%20b%09%0D%0A%7F%00%C3%A9%22%3C%3E%5C%5E%60%7B%7C%7D%25%2F%3F%26%3D%23%2B~");
}

TEST(UrlEscape, EverySetEscapesWhatWouldBreakARequestLine) {
    for (const UrlEscape set :
         {UrlEscape::RequestLine, UrlEscape::WholeUrl, UrlEscape::QueryValue}) {
        for (int byte = 0; byte < 256; ++byte) {
            const std::string escaped = EscapeUrl(std::string(1, static_cast<char>(byte)), set);
            if (byte <= 0x20 || byte == 0x7F) {
                EXPECT_EQ(escaped.size(), 3u) << byte;
            }
            EXPECT_EQ(escaped.find_first_of(std::string(" \r\n\0", 4)), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace korvana
