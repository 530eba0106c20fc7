#include "services/Feedback.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/sim/web/SimWebCatalogue.h"
#include "tools/sim/web/SimWebServer.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;

TEST(FeedbackEncoding, EverythingButUnreservedIsEscaped) {
    EXPECT_EQ(PercentEncodeQueryValue("Az09-._~"), "Az09-._~");
    EXPECT_EQ(PercentEncodeQueryValue("a b&c=d#e%f+g?h/i\r\nj"),
              "a%20b%26c%3Dd%23e%25f%2Bg%3Fh%2Fi%0D%0Aj");
    EXPECT_EQ(PercentEncodeQueryValue("gr\xC3\xBC\xC3\x9F"), "gr%C3%BC%C3%9F");
    EXPECT_EQ(PercentEncodeQueryValue(std::string("\0\xff", 2)), "%00%FF");
}

class FeedbackSendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Start());
        options_.idleTimeout = 2000ms;
    }
    bool Send(const std::string& sender, const std::string& message) {
        return SendFeedback(server_.BaseUrl(), sender, message, options_);
    }

    sim::SimWebServer server_;
    HttpOptions options_;
};

TEST_F(FeedbackSendTest, ScriptReceivesExactlyWhatWasTyped) {
    const std::string sender = "me+you@example.org";
    const std::string message =
        "Tom & Jerry = 100% fun #1\nsecond line\r\nthird \xC3\xBC\xE2\x82\xAC  ";
    ASSERT_TRUE(Send(sender, message));
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string& target = requests[0].target;
    ASSERT_EQ(target.substr(0, target.find('?')), "/cgi-bin/cgiemail/feedback.txt");
    const std::string query = target.substr(target.find('?') + 1);
    EXPECT_EQ(sim::QueryValue(query, "sender_name"), sender);
    EXPECT_EQ(sim::QueryValue(query, "feedback"), message);
}

TEST_F(FeedbackSendTest, BlankMessageAndEmptySenderAreSent) {
    EXPECT_TRUE(Send("", "   "));
    const std::string target = server_.Requests().at(0).target;
    EXPECT_EQ(target, "/cgi-bin/cgiemail/feedback.txt?sender_name=&feedback=%20%20%20");
}

TEST_F(FeedbackSendTest, EmptyOrErrorAnswersAreFailures) {
    const std::string path = "/cgi-bin/cgiemail/feedback.txt";
    server_.Router().SetPage(path, "\r\n\n\r\n", 200, "text/plain");
    EXPECT_FALSE(Send("", "hello"));
    server_.Router().SetPage(path, "<html>Not Found</html>", 404);
    EXPECT_FALSE(Send("", "hello"));
    server_.Router().SetPage(path, "Server Error", 500);
    EXPECT_FALSE(Send("", "hello"));
    server_.Router().SetPage(path, "ok", 200, "text/plain");
    EXPECT_TRUE(Send("", "hello"));
}

}  // namespace
}  // namespace korvana
