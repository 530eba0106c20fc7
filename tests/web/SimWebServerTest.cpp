#include "tools/sim/web/SimWebServer.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"
#include "web/HttpClient.h"

extern char** environ;

namespace korvana {
namespace {

using namespace std::chrono_literals;

// Sends `request` as it stands and returns everything the server answers.
std::string RawExchange(std::uint16_t port, const std::string& request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            answer.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(fd);
    return answer;
}

TEST(SimWebServer, FilesHeadAndLengthVariants) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    const std::string file = "/Mira%20Kestrel%20-%20Blue%20Hour.mp3";
    const std::string head = RawExchange(server.Port(), "HEAD /files" + file + " HTTP/1.0\r\n\r\n");
    EXPECT_TRUE(head.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(head.find("Content-Length: 37530\r\n"), std::string::npos);
    EXPECT_TRUE(head.ends_with("\r\n\r\n"));

    const std::string body =
        FetchPage(server.BaseUrl() + "/files" + file, RedirectJoin::SearchFamily);
    ASSERT_EQ(body.size(), 37530u);
    EXPECT_EQ(body.substr(0, 4), "\xFF\xFB\x90\x64");

    EXPECT_EQ(FetchHeader(server.BaseUrl() + "/nolength" + file).find("Content-Length"),
              std::string::npos);
    EXPECT_NE(FetchHeader(server.BaseUrl() + "/zerolength" + file).find("Content-Length: 0\r"),
              std::string::npos);
    EXPECT_TRUE(FetchHeader(server.BaseUrl() + "/files/unknown.mp3").starts_with("HTTP/1.1 404"));
    EXPECT_TRUE(FetchHeader(server.BaseUrl() + "/status/500").starts_with("HTTP/1.1 500"));

    sim::SimWebFaults lying;
    lying.lyingLength = true;
    server.SetFaults(lying);
    EXPECT_NE(FetchHeader(server.BaseUrl() + "/files" + file).find("Content-Length: 38530\r"),
              std::string::npos);
    sim::SimWebFaults garbage;
    garbage.garbage = true;
    server.SetFaults(garbage);
    EXPECT_EQ(RawExchange(server.Port(), "GET /version.txt HTTP/1.0\r\n\r\n").find("HTTP/"),
              std::string::npos);
}

TEST(SimWebServer, VendorPathsCanBeSet) {
    sim::SimWebServer server;
    ASSERT_TRUE(server.Start());
    EXPECT_EQ(FetchPage(server.BaseUrl() + "/version.txt", RedirectJoin::VendorFamily),
              "3.0.0\r\n");
    EXPECT_EQ(FetchPage(server.BaseUrl() + "/KorvanaInstall.cgi?rk=1", RedirectJoin::VendorFamily),
              "OK\n");
    server.Router().SetPage("/version.txt", "3.0.1\n", 200, "text/plain");
    server.Router().SetPage("/dl_update.txt", server.BaseUrl() + "/KorvanaInstall.cgi?rk=0");
    EXPECT_EQ(FetchPage(server.BaseUrl() + "/version.txt", RedirectJoin::VendorFamily), "3.0.1\n");
    EXPECT_EQ(FetchPage(server.BaseUrl() + "/dl_update.txt", RedirectJoin::VendorFamily),
              server.BaseUrl() + "/KorvanaInstall.cgi?rk=0");
    EXPECT_TRUE(FetchPage(server.BaseUrl() + "/modules.php?op=modload&name=FAQ&file=index",
                          RedirectJoin::VendorFamily)
                    .starts_with("<html>"));
    EXPECT_EQ(FetchPage(server.BaseUrl() + "/Korvana.exe", RedirectJoin::VendorFamily).substr(0, 2),
              "MZ");
}

#ifdef KORVANA_SIMWEB_PATH
TEST(SimWebProgram, ReportsItsPortAndStopsOnTerm) {
    test::TempDir dir;
    const std::string ready = (dir.Path() / "port").string();
    std::string program = KORVANA_SIMWEB_PATH;
    std::string portOption = "--port", zero = "0", readyOption = "--ready-file";
    char* argv[] = {program.data(),
                    portOption.data(),
                    zero.data(),
                    readyOption.data(),
                    const_cast<char*>(ready.c_str()),
                    nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    for (int i = 0; i < 1000 && !std::filesystem::exists(ready); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    unsigned port = 0;
    std::ifstream(ready) >> port;
    if (port == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        FAIL() << "korvana-simweb wrote no port";
    }
    EXPECT_EQ(FetchPage("http://127.0.0.1:" + std::to_string(port) + "/version.txt",
                        RedirectJoin::VendorFamily),
              "3.0.0\r\n");
    kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif

}  // namespace
}  // namespace korvana
