#include "web/HttpText.h"

#include <gtest/gtest.h>

#include <string>

namespace korvana {
namespace {

TEST(SplitUrl, SchemesPortsAndObjects) {
    auto plain = SplitUrl("http://example.test/a/b?c=d");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->host, "example.test");
    EXPECT_EQ(plain->port, 80);
    EXPECT_EQ(plain->path, "/a/b?c=d");

    auto secure = SplitUrl("HTTPS://h:8443");
    ASSERT_TRUE(secure);
    EXPECT_EQ(secure->port, 8443);
    EXPECT_TRUE(secure->secure);
    EXPECT_FALSE(SplitUrl("http://h/")->secure);
    EXPECT_EQ(secure->path, "/");
    EXPECT_EQ(SplitUrl("https://h/x")->port, 443);
    EXPECT_EQ(SplitUrl("http://h?q=1")->path, "/?q=1");

    EXPECT_FALSE(SplitUrl("ftp://h/x"));
    EXPECT_FALSE(SplitUrl("http:///x"));
    EXPECT_FALSE(SplitUrl("http://h:0/"));
    EXPECT_FALSE(SplitUrl("http://h:65536/"));
    EXPECT_FALSE(SplitUrl("http://h:8o/"));
    EXPECT_FALSE(SplitUrl("/relative"));
}

TEST(SplitUrl, OnlySpacesAndControlsAreEscaped) {
    auto target = SplitUrl("http://h/a b/%41 \xC3\xA9?x=\"1\"&y=<2>\r\n");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->path, "/a%20b/%41%20\xC3\xA9?x=\"1\"&y=<2>%0D%0A");
}

TEST(SplitUrl, LongFieldsAreCutAtACharacterBoundary) {
    const std::string longPath = "/" + std::string(509, 'a') + "\xC3\xA9" + "tail";
    auto target = SplitUrl("http://h" + longPath);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->path, "/" + std::string(509, 'a'));  // the split letter goes whole
    EXPECT_EQ(SplitUrl("http://h/" + std::string(600, 'p'))->path.size(), 511u);
    EXPECT_EQ(SplitUrl("http://" + std::string(600, 'h') + "/")->host.size(), 511u);
}

TEST(BuildRequest, GetTextIsExact) {
    HttpTarget target{8080, "/find?q=a%20b", "host.test"};
    EXPECT_EQ(BuildRequest(target, HttpMethod::Get),
              "GET /find?q=a%20b HTTP/1.0\r\nConnection: close\r\nHost: host.test\r\n"
              "Pragma: no-cache\r\nCache-control: no-cache\r\nUser-Agent: Mozilla/5.0\r\n\r\n");
}

TEST(BuildRequest, PostCarriesTheQueryAsItsBody) {
    HttpTarget form{80, "/sresult.aspx?txtSearch=blue%20hour&mp3s=MP3s", "e2.test"};
    EXPECT_EQ(BuildRequest(form, HttpMethod::FormPost),
              "POST /sresult.aspx HTTP/1.1\r\nHost: e2.test\r\nUser-Agent: Mozilla/5.0\r\n"
              "Connection: close\r\nContent-Type: application/x-www-form-urlencoded\r\n"
              "Content-Length: 31\r\n\r\ntxtSearch=blue%20hour&mp3s=MP3s");

    HttpTarget bare{80, "/submit", "e2.test"};
    const std::string text = BuildRequest(bare, HttpMethod::FormPost);
    EXPECT_TRUE(text.starts_with("POST /submit HTTP/1.1\r\n"));
    EXPECT_TRUE(text.ends_with("Content-Length: 0\r\n\r\n"));
}

TEST(ApplyRedirect, RelativeLocationsJoinByFamily) {
    const std::string moved = "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n";
    HttpTarget search{80, "/old", "h"};
    ASSERT_EQ(ApplyRedirect(search, moved, RedirectJoin::SearchFamily), RedirectStep::Follow);
    EXPECT_EQ(search.path, "//x");
    EXPECT_EQ(search.host, "h");

    HttpTarget vendor{80, "/old", "h"};
    ASSERT_EQ(ApplyRedirect(vendor, moved, RedirectJoin::VendorFamily), RedirectStep::Follow);
    EXPECT_EQ(vendor.path, "/x");

    HttpTarget noSlash{80, "/old", "h"};
    ASSERT_EQ(ApplyRedirect(noSlash, "HTTP/1.0 301 Moved\r\nlocation: y.txt\r\n\r\n",
                            RedirectJoin::SearchFamily),
              RedirectStep::Follow);
    EXPECT_EQ(noSlash.path, "/y.txt");

    HttpTarget onPort{4100, "/old", "127.0.0.1"};
    ASSERT_EQ(ApplyRedirect(onPort, moved, RedirectJoin::VendorFamily), RedirectStep::Follow);
    EXPECT_EQ(onPort.port, 4100);  // a relative location stays on the same server
}

TEST(ApplyRedirect, AbsoluteLocations) {
    HttpTarget target{80, "/old", "h"};
    ASSERT_EQ(
        ApplyRedirect(target, "HTTP/1.1 302 Found\r\nLocation: http://h2:8080/new?a=1\r\n\r\n",
                      RedirectJoin::SearchFamily),
        RedirectStep::Follow);
    EXPECT_EQ(target.host, "h2");
    EXPECT_EQ(target.port, 8080);
    EXPECT_EQ(target.path, "/new?a=1");

    HttpTarget secure{443, "/old", "h"};
    ASSERT_EQ(ApplyRedirect(secure, "HTTP/1.1 301 Moved\r\nLocation: https://h3/s\r\n\r\n",
                            RedirectJoin::VendorFamily),
              RedirectStep::Follow);
    EXPECT_EQ(secure.host, "h3");
    EXPECT_EQ(secure.port, 443);
    EXPECT_TRUE(secure.secure);

    HttpTarget relative = secure;
    ASSERT_EQ(ApplyRedirect(relative, "HTTP/1.1 302 Found\r\nLocation: /t\r\n\r\n",
                            RedirectJoin::VendorFamily),
              RedirectStep::Follow);
    EXPECT_TRUE(relative.secure);  // a relative location keeps the scheme
}

// Never joined as a path: "file:///etc/passwd" once became a request for
// "/file:///etc/passwd" on the same server.
TEST(ApplyRedirect, OtherSchemesAreRefused) {
    for (const char* location : {"file:///etc/passwd", "FTP://h/x", "javascript:alert(1)",
                                 "mailto:a@b", "http:/x", "gopher://h/x"}) {
        for (const RedirectJoin join : {RedirectJoin::SearchFamily, RedirectJoin::VendorFamily}) {
            HttpTarget target{80, "/p", "h"};
            EXPECT_EQ(
                ApplyRedirect(
                    target, "HTTP/1.1 302 Found\r\nLocation: " + std::string(location) + "\r\n\r\n",
                    join),
                RedirectStep::Refused)
                << location;
            EXPECT_EQ(target.path, "/p");
        }
    }
}

TEST(ApplyRedirect, WhatIsNotARedirect) {
    HttpTarget target{80, "/p", "h"};
    const HttpTarget before = target;
    for (const char* response : {
             "HTTP/1.1 200 OK\r\nLocation: /x\r\n\r\nbody",
             "HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n",
             "HTTP/1.1 302 Found\r\nLocation: \r\n\r\n",
             // The marks count in the header only, not in a page about HTTP.
             "HTTP/1.1 200 OK\r\n\r\nHTTP/1.1 302 Found\r\nLocation: /x\r\n",
             // Nor in a field of a header whose own status is not one.
             "HTTP/1.1 200 OK\r\nX-Note: HTTP/1.1 302\r\nLocation: /x\r\n\r\n",
             // A Content-Location is not a Location.
             "HTTP/1.1 302 Found\r\nContent-Location: /x\r\n\r\n",
             "HTTP/1.1 302 Found\r\nLocation: http://h:99999/x\r\n\r\n",
         }) {
        EXPECT_EQ(ApplyRedirect(target, response, RedirectJoin::SearchFamily), RedirectStep::None)
            << response;
        EXPECT_EQ(target.path, before.path);
    }
}

TEST(ApplyRedirect, InterimAnswerAndHeaderReadAlone) {
    HttpTarget target{80, "/p", "h"};
    ASSERT_EQ(ApplyRedirect(
                  target,
                  "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 302 Found\r\nLocation: http://h/q\r\n\r\n",
                  RedirectJoin::SearchFamily),
              RedirectStep::Follow);
    EXPECT_EQ(target.path, "/q");
    // A header-only read ends before "\n\r\n".
    ASSERT_EQ(ApplyRedirect(target, "HTTP/1.0 302 Found\r\nLocation: http://h/r\r",
                            RedirectJoin::SearchFamily),
              RedirectStep::Follow);
    EXPECT_EQ(target.path, "/r");
}

TEST(ParseRedirectUrl, EdgeCases) {
    auto full = ParseRedirectUrl("http://h:81/a/b");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->host, "h");
    EXPECT_EQ(full->port, 81);
    EXPECT_EQ(full->path, "/a/b");

    auto bare = ParseRedirectUrl("http://h");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->path, "/");
    EXPECT_FALSE(ParseRedirectUrl("gopher://h/x"));
    EXPECT_EQ(ParseRedirectUrl("HTTPS://h/x")->port, 443);
    EXPECT_EQ(ParseRedirectUrl("http://h/a b")->path, "/a%20b");

    EXPECT_FALSE(ParseRedirectUrl("/no/scheme"));
    EXPECT_FALSE(ParseRedirectUrl("http:///x"));
    EXPECT_FALSE(ParseRedirectUrl("http://h:/x"));
    EXPECT_FALSE(ParseRedirectUrl("http://h:x/"));
}

}  // namespace
}  // namespace korvana
