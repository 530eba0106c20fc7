#include <gtest/gtest.h>

#include <string>

#include "tools/sim/web/SimWebServer.h"
#include "web/HttpClient.h"
#include "web/HttpConnection.h"
#include "web/SystemHttp.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

// Hostile answers: https on a plain port, redirects to other schemes and to
// other services on this machine, and answers that never end.
class HttpHostileServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        ASSERT_TRUE(other_.Start());
        options_.idleTimeout = 2000ms;
    }
    std::string Url(const std::string& path) const { return server_.BaseUrl() + path; }
    std::string SecureUrl(const std::string& path) const {
        return "https://127.0.0.1:" + std::to_string(server_.Port()) + path;
    }
    void RedirectTo(const std::string& path, const std::string& location) {
        server_.Router().SetRawResponse(path,
                                        "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\n\r\n");
    }
    std::vector<std::string> Targets() const {
        std::vector<std::string> targets;
        for (const auto& request : server_.Requests()) {
            targets.push_back(request.target);
        }
        return targets;
    }

    sim::SimWebServer server_;
    // Another service on this machine that answers must not reach.
    sim::SimWebServer other_;
    HttpOptions options_;
};

// The plain server reads no request: what arrives is a TLS handshake, which
// it cannot answer, so every exchange fails instead of going out readable.
TEST_F(HttpHostileServerTest, HttpsIsNeverSentAsPlainText) {
    options_.idleTimeout = 500ms;
    HttpResult result = HttpResult::Ok;
    EXPECT_EQ(FetchPage(SecureUrl("/version.txt"), RedirectJoin::VendorFamily, options_, &result),
              "");
    EXPECT_NE(result, HttpResult::Ok);
    EXPECT_EQ(FetchPostPage(SecureUrl("/sresult.aspx?txtSearch=x"), options_, &result), "");
    EXPECT_NE(result, HttpResult::Ok);
    EXPECT_EQ(FetchHeader(SecureUrl("/files/a.mp3"), options_), "");
    HttpConnection connection(options_);
    EXPECT_NE(connection.Open(*SplitUrl(SecureUrl("/files/a.mp3")), HttpMethod::Get),
              HttpResult::Ok);
    EXPECT_EQ(FetchWithSystemHttp(SecureUrl("/version.txt"), kSearchFamilySystemHttp, options_),
              "");
    EXPECT_EQ(Targets(), std::vector<std::string>{});
}

TEST_F(HttpHostileServerTest, RedirectsToOtherSchemesAreRefused) {
    RedirectTo("/file", "file:///etc/passwd");
    RedirectTo("/ftp", "ftp://127.0.0.1/x");
    RedirectTo("/script", "javascript:alert(1)");
    for (const std::string path : {"/file", "/ftp", "/script"}) {
        for (const RedirectJoin join : {RedirectJoin::SearchFamily, RedirectJoin::VendorFamily}) {
            HttpResult result = HttpResult::Ok;
            EXPECT_EQ(FetchPage(Url(path), join, options_, &result), "") << path;
            EXPECT_EQ(result, HttpResult::Refused) << path;
        }
        HttpResult result = HttpResult::Ok;
        EXPECT_EQ(FetchWithSystemHttp(Url(path), kSearchFamilySystemHttp, options_, &result), "");
        EXPECT_NE(result, HttpResult::Ok);
    }
    for (const std::string& target : Targets()) {
        EXPECT_TRUE(target == "/file" || target == "/ftp" || target == "/script") << target;
    }
}

TEST_F(HttpHostileServerTest, RedirectsToAnotherLocalServiceAreRefused) {
    other_.Router().SetPage("/secret", "private");
    RedirectTo("/hop", other_.BaseUrl() + "/secret");
    RedirectTo("/hop-by-name", "http://localhost:" + std::to_string(other_.Port()) + "/secret");
    for (const std::string path : {"/hop", "/hop-by-name"}) {
        HttpResult result = HttpResult::Ok;
        EXPECT_EQ(FetchPage(Url(path), RedirectJoin::SearchFamily, options_, &result), "");
        EXPECT_EQ(result, HttpResult::Refused);
        EXPECT_EQ(FetchPostPage(Url(path), options_, &result), "");
        EXPECT_EQ(result, HttpResult::Refused);
        EXPECT_EQ(FetchWithSystemHttp(Url(path), kSearchFamilySystemHttp, options_, &result), "");
        EXPECT_EQ(result, HttpResult::Refused);
    }
    EXPECT_TRUE(other_.Requests().empty());
    // A redirect that stays on the server of the fetch is followed.
    server_.Router().SetPage("/here", "arrived");
    RedirectTo("/stay", server_.BaseUrl() + "/here");
    EXPECT_EQ(FetchPage(Url("/stay"), RedirectJoin::SearchFamily, options_), "arrived");
    EXPECT_EQ(FetchWithSystemHttp(Url("/stay"), kSearchFamilySystemHttp, options_), "arrived");
}

// A URL that a remote answer named reaches a local address only on the
// server of the base it came from.
TEST_F(HttpHostileServerTest, AnOriginKeepsNamedUrlsOffLocalServices) {
    other_.Router().SetPage("/secret", "private");
    server_.Router().SetPage("/mine", "ours");
    options_.originUrls = {server_.BaseUrl()};
    HttpResult result = HttpResult::Ok;
    EXPECT_EQ(
        FetchPage(other_.BaseUrl() + "/secret", RedirectJoin::VendorFamily, options_, &result), "");
    EXPECT_EQ(result, HttpResult::Refused);
    EXPECT_EQ(FetchWithSystemHttp(other_.BaseUrl() + "/secret", kVendorFamilySystemHttp, options_),
              "");
    EXPECT_TRUE(other_.Requests().empty());
    EXPECT_EQ(FetchPage(Url("/mine"), RedirectJoin::VendorFamily, options_), "ours");

    // A link found by any of several engines may lead to any of their servers.
    options_.originUrls = {server_.BaseUrl(), other_.BaseUrl() + "/"};
    EXPECT_EQ(FetchPage(other_.BaseUrl() + "/secret", RedirectJoin::VendorFamily, options_),
              "private");
    EXPECT_EQ(FetchWithSystemHttp(other_.BaseUrl() + "/secret", kVendorFamilySystemHttp, options_),
              "private");
}

TEST_F(HttpHostileServerTest, AnAnswerWithoutEndStopsAtTheTotalTimeLimit) {
    sim::SimWebFaults trickle;
    trickle.trickleInterval = 20ms;  // well within the idle time-out, for ever
    server_.SetFaults(trickle);
    options_.totalTimeout = 400ms;
    HttpResult result = HttpResult::Ok;
    FetchPage(Url("/big/100000"), RedirectJoin::SearchFamily, options_, &result);
    EXPECT_EQ(result, HttpResult::OverTime);
    EXPECT_EQ(FetchWithSystemHttp(Url("/big/100000"), kSearchFamilySystemHttp, options_, &result),
              "");
    EXPECT_EQ(result, HttpResult::OverTime);
}

}  // namespace
}  // namespace korvana
