#include "web/HttpClient.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/LoopbackPort.h"
#include "tools/sim/web/SimWebServer.h"
#include "util/StopSignal.h"
#include "web/HttpConnection.h"

namespace korvana {
namespace {

using namespace std::chrono_literals;
using sim::SimWebFaults;
using sim::SimWebServer;

HttpOptions Short() {
    HttpOptions options;
    options.idleTimeout = 300ms;
    return options;
}

class HttpClientTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.Start()); }

    HttpTarget Target(const std::string& path) const { return {server_.Port(), path, "127.0.0.1"}; }
    std::string Url(const std::string& path) const { return server_.BaseUrl() + path; }

    SimWebServer server_;
};

TEST_F(HttpClientTest, RequestBytesOnTheWire) {
    FetchPage(Url("/version.txt?a b=c d"), RedirectJoin::VendorFamily, Short());
    FetchPostPage(Url("/sresult.aspx?txtSearch=blue hour&mp3s=MP3s"), Short());
    FetchPostPage(Url("/form"), Short());
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].raw,
              "GET /version.txt?a%20b=c%20d HTTP/1.0\r\nConnection: close\r\nHost: 127.0.0.1\r\n"
              "Pragma: no-cache\r\nCache-control: no-cache\r\nUser-Agent: Mozilla/5.0\r\n\r\n");
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].target, "/sresult.aspx");
    EXPECT_EQ(requests[1].body, "txtSearch=blue%20hour&mp3s=MP3s");
    EXPECT_NE(requests[1].raw.find("\r\nContent-Length: 31\r\n"), std::string::npos);
    EXPECT_EQ(requests[2].body, "");
    EXPECT_NE(requests[2].raw.find("\r\nContent-Length: 0\r\n\r\n"), std::string::npos);
}

TEST_F(HttpClientTest, FetchedTextsAreCutAtTheHeader) {
    server_.Router().SetRawResponse("/raw", "HTTP/1.0 200 OK\r\nX: 1\r\n\r\nfirst\n\r\nsecond");
    server_.Router().SetRawResponse("/noblank", "HTTP/1.0 200 OK\r\nno header end");
    server_.Router().SetRawResponse(
        "/interim", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\n\r\npage\r\n\r\nmore");
    EXPECT_EQ(FetchPage(Url("/raw"), RedirectJoin::SearchFamily, Short()), "first\n\r\nsecond");
    EXPECT_EQ(FetchPostPage(Url("/interim"), Short()), "page\r\n\r\nmore");
    // Without an interim answer a blank line in the page does not cut it.
    EXPECT_EQ(FetchPostPage(Url("/raw"), Short()), "first\n\r\nsecond");
    EXPECT_EQ(FetchPage(Url("/noblank"), RedirectJoin::SearchFamily, Short()), "");
    EXPECT_EQ(FetchPostPage(Url("/noblank"), Short()), "");
    // A single header without an interim answer: the body is kept whole.
    EXPECT_EQ(FetchPostPage(Url("/version.txt"), Short()), "3.0.0\r\n");
    EXPECT_EQ(FetchPage("not a url", RedirectJoin::SearchFamily, Short()), "");
    EXPECT_EQ(FetchPage("http://127.0.0.1:" + std::to_string(test::UnusedLoopbackPort()) + "/",
                        RedirectJoin::SearchFamily, Short()),
              "");
}

TEST_F(HttpClientTest, RedirectsFollowTheirFamily) {
    server_.Router().SetRawResponse("/moved", "HTTP/1.1 302 Found\r\nLocation: /x\r\n\r\n");
    server_.Router().SetPage("/x", "here");
    EXPECT_EQ(FetchPage(Url("/moved"), RedirectJoin::SearchFamily, Short()), "here");
    EXPECT_EQ(FetchPage(Url("/moved"), RedirectJoin::VendorFamily, Short()), "here");
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].target, "//x");
    EXPECT_EQ(requests[3].target, "/x");
}

TEST_F(HttpClientTest, AbsoluteRedirectSendsTheHostAlone) {
    server_.Router().SetPage("/elsewhere", "far");
    server_.Router().SetRawResponse(
        "/hop", "HTTP/1.0 301 Moved\r\nLocation: " + server_.BaseUrl() + "/elsewhere\r\n\r\n");
    HttpTarget target = Target("/hop");
    std::string response;
    // A POST is repeated as a GET.
    EXPECT_EQ(SendRequest(target, response, {.method = HttpMethod::FormPost}, Short()),
              HttpResult::Ok);
    EXPECT_EQ(target.path, "/elsewhere");
    EXPECT_TRUE(response.ends_with("far"));
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_NE(requests[1].raw.find("\r\nHost: 127.0.0.1\r\n"), std::string::npos);
}

TEST_F(HttpClientTest, RedirectLoopEndsAfterTenRedirects) {
    HttpTarget target = Target("/redirect/loop");
    std::string response;
    EXPECT_EQ(SendRequest(target, response, {.join = RedirectJoin::VendorFamily}, Short()),
              HttpResult::Failed);
    EXPECT_EQ(server_.Requests().size(), 11u);
    EXPECT_EQ(FetchHeader(Url("/redirect/loop"), Short()), "");
}

TEST_F(HttpClientTest, SilenceTimesOutAndTricklingDoesNot) {
    SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    HttpTarget target = Target("/version.txt");
    std::string response;
    EXPECT_EQ(SendRequest(target, response, {}, Short()), HttpResult::TimedOut);

    SimWebFaults trickle;
    trickle.trickleInterval = 15ms;  // 300 ms in all, well past the 100 ms time-out
    server_.SetFaults(trickle);
    server_.Router().SetRawResponse("/slow", "HTTP/1.0 200 OK\r\n\r\n" + std::string(1, 'x'));
    HttpOptions tight = Short();
    tight.idleTimeout = 100ms;
    target = Target("/slow");
    EXPECT_EQ(SendRequest(target, response, {}, tight), HttpResult::Ok);
    EXPECT_EQ(response, "HTTP/1.0 200 OK\r\n\r\nx");
}

TEST_F(HttpClientTest, PartOfAPageSurvivesATimeOut) {
    const std::string page(100, 'p');
    SimWebFaults stall;
    stall.stallAfterBytes = sim::MakeReply(200, page).head.size() + 40;
    server_.SetFaults(stall);
    server_.Router().SetPage("/page", page);
    const std::string body = FetchPage(Url("/page"), RedirectJoin::SearchFamily, Short());
    EXPECT_EQ(body, std::string(40, 'p'));
}

TEST_F(HttpClientTest, HeaderOnlyReadsStopAtTheBlankLine) {
    SimWebFaults trickle;
    trickle.trickleInterval = 1ms;
    server_.SetFaults(trickle);
    const std::string header = FetchHeader(Url("/files/Null%20Route%20-%20Time%20To%20Live.mp3"));
    EXPECT_TRUE(header.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(header.find("Content-Length: 29190"), std::string::npos);
    EXPECT_TRUE(header.ends_with("Connection: close\r"));

    server_.SetFaults({});
    EXPECT_EQ(FetchHeader(Url("/big/100000")).find('\xFF'), std::string::npos);
}

TEST_F(HttpClientTest, FailureCodes) {
    std::string response = "stale";
    HttpTarget noHost{80, "/", "no such host"};
    EXPECT_EQ(SendRequest(noHost, response, {}, Short()), HttpResult::NoHost);
    EXPECT_EQ(response, "");
    HttpTarget empty{80, "/", ""};
    EXPECT_EQ(SendRequest(empty, response, {}, Short()), HttpResult::NoHost);
    HttpTarget refused{test::UnusedLoopbackPort(), "/", "127.0.0.1"};
    EXPECT_EQ(SendRequest(refused, response, {}, Short()), HttpResult::ConnectFailed);

    SimWebFaults reset;
    reset.reset = true;
    server_.SetFaults(reset);
    HttpTarget target = Target("/version.txt");
    EXPECT_EQ(SendRequest(target, response, {}, Short()), HttpResult::ReceiveFailed);
}

// Refuses every descriptor number from 3 up, then exits with the negated
// result of one exchange.
[[noreturn]] void ExchangeWithoutDescriptors(HttpTarget target) {
    const rlimit limit{3, 3};
    setrlimit(RLIMIT_NOFILE, &limit);
    std::string response;
    std::_Exit(-static_cast<int>(SendRequest(target, response, {})));
}

using HttpClientDeathTest = HttpClientTest;

TEST_F(HttpClientDeathTest, NoSocketIsReported) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExchangeWithoutDescriptors(Target("/version.txt")), ::testing::ExitedWithCode(2),
                "Failed to create a socket\\.");
}

TEST_F(HttpClientTest, OversizedAnswersFail) {
    HttpOptions small = Short();
    small.maxBodyBytes = 1000;
    small.maxHeaderBytes = 200;
    HttpTarget target = Target("/big/5000");
    std::string response;
    EXPECT_EQ(SendRequest(target, response, {}, small), HttpResult::Failed);
    EXPECT_EQ(TextAfterHeader(response).size(), 1000u);

    server_.Router().SetRawResponse("/tall", "HTTP/1.0 200 OK\r\nX: " + std::string(500, 'y'));
    target = Target("/tall");
    EXPECT_EQ(SendRequest(target, response, {.read = AnswerRead::HeaderOnly}, small),
              HttpResult::Failed);
}

TEST_F(HttpClientTest, StopSignalEndsAWaitingExchange) {
    SimWebFaults stalled;
    stalled.stallAfterBytes = 0;
    server_.SetFaults(stalled);
    StopSignal stop;
    HttpOptions options;  // the full 15 s time-out: only the stop can end it in time
    options.stop = &stop;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(100ms);
        stop.Trigger();
    });
    HttpTarget target = Target("/version.txt");
    std::string response;
    EXPECT_EQ(SendRequest(target, response, {}, options), HttpResult::Failed);
    stopper.join();
}

TEST_F(HttpClientTest, ConnectionReadsChunksForDownloads) {
    HttpOptions options = Short();
    HttpConnection connection(options);
    ASSERT_EQ(connection.Open(Target("/big/300000"), HttpMethod::Get), HttpResult::Ok);
    char buffer[24999];
    std::size_t total = 0;
    std::size_t received = 0;
    HttpResult result = HttpResult::Ok;
    while ((result = connection.Receive(buffer, sizeof buffer, received)) == HttpResult::Ok &&
           received > 0) {
        EXPECT_LE(received, sizeof buffer);
        total += received;
    }
    EXPECT_EQ(result, HttpResult::Ok);  // the server closed
    EXPECT_EQ(received, 0u);
    EXPECT_GT(total, 300000u);
}

}  // namespace
}  // namespace korvana
