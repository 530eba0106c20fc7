#include "web/SystemHttp.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/sim/web/SimWebServer.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

class SystemHttpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        options_.idleTimeout = 2000ms;
    }
    std::string Url(const std::string& path) const { return server_.BaseUrl() + path; }

    sim::SimWebServer server_;
    HttpOptions options_;
};

TEST_F(SystemHttpTest, BodyLosesLineBreaksAndNuls) {
    server_.Router().SetPage("/lines", std::string("a\r\nb\nc\rd\0e", 11));
    EXPECT_EQ(FetchWithSystemHttp(Url("/lines"), kSearchFamilySystemHttp, options_), "abcde");
    // Only line breaks: nothing is left, which the feedback form reads as failure.
    server_.Router().SetPage("/blank", "\r\n\r\n");
    EXPECT_EQ(FetchWithSystemHttp(Url("/blank"), kVendorFamilySystemHttp, options_), "");
}

TEST_F(SystemHttpTest, FamiliesDifferOnErrorStatus) {
    server_.Router().SetPage("/gone", "missing page", 404);
    EXPECT_EQ(FetchWithSystemHttp(Url("/gone"), kSearchFamilySystemHttp, options_), "missing page");
    EXPECT_EQ(FetchWithSystemHttp(Url("/gone"), kVendorFamilySystemHttp, options_), "");
    server_.Router().SetPage("/fine", "thanks", 200);
    EXPECT_EQ(FetchWithSystemHttp(Url("/fine"), kVendorFamilySystemHttp, options_), "thanks");
}

TEST_F(SystemHttpTest, RequestIsFreshEscapedAndOnTheUrlPort) {
    const std::string body =
        FetchWithSystemHttp(Url("/cgi-bin/cgiemail/feedback.txt?sender_name=&feedback=hi there"),
                            kVendorFamilySystemHttp, options_);
    EXPECT_EQ(body, "Thank you for your feedback.");
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target,
              "/cgi-bin/cgiemail/feedback.txt?sender_name=&feedback=hi%20there");
    EXPECT_NE(requests[0].raw.find("Cache-Control: no-cache\r\n"), std::string::npos);
    EXPECT_NE(requests[0].raw.find("Pragma: no-cache\r\n"), std::string::npos);
}

TEST_F(SystemHttpTest, RedirectsAreFollowedWithinTheLimit) {
    server_.Router().SetPage("/target", "arrived");
    EXPECT_EQ(FetchWithSystemHttp(Url("/redirect/rel/target"), kSearchFamilySystemHttp, options_),
              "arrived");
    EXPECT_EQ(FetchWithSystemHttp(Url("/redirect/loop"), kSearchFamilySystemHttp, options_), "");
    EXPECT_EQ(server_.Requests().size(), 2u + 11u);
}

TEST_F(SystemHttpTest, FailuresGiveTheEmptyText) {
    sim::SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    options_.idleTimeout = 300ms;
    EXPECT_EQ(FetchWithSystemHttp(Url("/version.txt"), kSearchFamilySystemHttp, options_), "");
    server_.SetFaults({});
    options_.maxBodyBytes = 100;
    EXPECT_EQ(FetchWithSystemHttp(Url("/big/5000"), kSearchFamilySystemHttp, options_), "");
    EXPECT_EQ(FetchWithSystemHttp("mailto:someone", kVendorFamilySystemHttp, options_), "");
}

// The first engine links its pages as http on port 443 and means TLS; the
// feedback form's URL is taken as written.
TEST(SystemHttpUrl, OnlyTheSearchFamilyTakesPort443ForTls) {
    EXPECT_EQ(SystemHttpUrl("http://e1.test:443/p?q=a b", kSearchFamilySystemHttp),
              "https://e1.test:443/p?q=a%20b");
    EXPECT_EQ(SystemHttpUrl("http://e1.test:443/p", kVendorFamilySystemHttp),
              "http://e1.test:443/p");
    EXPECT_EQ(SystemHttpUrl("http://e1.test/p", kSearchFamilySystemHttp), "http://e1.test:80/p");
    EXPECT_EQ(SystemHttpUrl("HTTPS://v.test?x=1", kVendorFamilySystemHttp),
              "https://v.test:443/?x=1");
    EXPECT_FALSE(SystemHttpUrl("mailto:someone", kVendorFamilySystemHttp));
}

// Unlike the socket client's request line, the whole object goes out, however
// long, with everything a URL parser would refuse escaped.
TEST(SystemHttpUrl, TheObjectIsWholeAndEscapedAsAUrl) {
    const std::string message(2000, 'm');
    const auto url = SystemHttpUrl("http://v.test/f?feedback=" + message + "|\xC3\xA9<",
                                   kVendorFamilySystemHttp);
    ASSERT_TRUE(url);
    EXPECT_EQ(*url, "http://v.test:80/f?feedback=" + message + "%7C%C3%A9%3C");
}

}  // namespace
}  // namespace korvana
