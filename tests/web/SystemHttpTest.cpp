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
    EXPECT_EQ(FetchWithSystemHttp(Url("/lines"), RedirectJoin::SearchFamily, options_), "abcde");
    // Only line breaks: nothing is left, which the feedback form reads as failure.
    server_.Router().SetPage("/blank", "\r\n\r\n");
    EXPECT_EQ(FetchWithSystemHttp(Url("/blank"), RedirectJoin::VendorFamily, options_), "");
}

TEST_F(SystemHttpTest, FamiliesDifferOnErrorStatus) {
    server_.Router().SetPage("/gone", "missing page", 404);
    EXPECT_EQ(FetchWithSystemHttp(Url("/gone"), RedirectJoin::SearchFamily, options_),
              "missing page");
    EXPECT_EQ(FetchWithSystemHttp(Url("/gone"), RedirectJoin::VendorFamily, options_), "");
    server_.Router().SetPage("/fine", "thanks", 200);
    EXPECT_EQ(FetchWithSystemHttp(Url("/fine"), RedirectJoin::VendorFamily, options_), "thanks");
}

TEST_F(SystemHttpTest, RequestIsFreshEscapedAndOnTheUrlPort) {
    const std::string body =
        FetchWithSystemHttp(Url("/cgi-bin/cgiemail/feedback.txt?sender_name=&feedback=hi there"),
                            RedirectJoin::VendorFamily, options_);
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
    EXPECT_EQ(
        FetchWithSystemHttp(Url("/redirect/rel/target"), RedirectJoin::SearchFamily, options_),
        "arrived");
    EXPECT_EQ(FetchWithSystemHttp(Url("/redirect/loop"), RedirectJoin::SearchFamily, options_), "");
    EXPECT_EQ(server_.Requests().size(), 2u + 11u);
}

TEST_F(SystemHttpTest, FailuresGiveTheEmptyText) {
    sim::SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    options_.idleTimeout = 300ms;
    EXPECT_EQ(FetchWithSystemHttp(Url("/version.txt"), RedirectJoin::SearchFamily, options_), "");
    server_.SetFaults({});
    options_.maxBodyBytes = 100;
    EXPECT_EQ(FetchWithSystemHttp(Url("/big/5000"), RedirectJoin::SearchFamily, options_), "");
    EXPECT_EQ(FetchWithSystemHttp("mailto:someone", RedirectJoin::VendorFamily, options_), "");
}

}  // namespace
}  // namespace korvana
