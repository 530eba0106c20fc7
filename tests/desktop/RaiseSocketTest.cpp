#include <gtest/gtest.h>

#include "desktop/RaiseSocket.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;

TEST(RaiseSocket, LiesBesideTheLockWhenThePathFits) {
    EXPECT_EQ(RaiseSocketPath("/home/me/.local/share/korvana", "/run/user/1000"),
              fs::path("/home/me/.local/share/korvana/Korvana MP3 Finder.socket"));
}

TEST(RaiseSocket, ALongInstallFolderGetsAShortNameOfItsOwn) {
    const fs::path deep = "/home/me/" + std::string(120, 'x');
    const fs::path other = "/home/me/" + std::string(121, 'x');
    const fs::path socket = RaiseSocketPath(deep, "/run/user/1000");
    EXPECT_LE(socket.native().size(), kMaxSocketPathBytes);
    EXPECT_EQ(socket.parent_path(), fs::path("/run/user/1000"));
    // Every copy on the same folder finds the same socket; another folder
    // has its own.
    EXPECT_EQ(RaiseSocketPath(deep, "/run/user/1000"), socket);
    EXPECT_NE(RaiseSocketPath(other, "/run/user/1000").filename(), socket.filename());
    EXPECT_EQ(RaiseSocketPath(deep, std::nullopt).parent_path(), fs::path("/tmp"));
    EXPECT_EQ(RaiseSocketPath(deep, std::string()).parent_path(), fs::path("/tmp"));
}

TEST(RaiseSocket, OnlyTheExactRequestIsARequest) {
    EXPECT_EQ(ReadRaiseRequest(""), RaiseRequestState::Incomplete);
    EXPECT_EQ(ReadRaiseRequest("rai"), RaiseRequestState::Incomplete);
    EXPECT_EQ(ReadRaiseRequest(kRaiseRequest), RaiseRequestState::Request);
    EXPECT_EQ(ReadRaiseRequest("raise\nraise\n"), RaiseRequestState::Refused);
    EXPECT_EQ(ReadRaiseRequest("GET / HTTP/1.0\r\n"), RaiseRequestState::Refused);
    EXPECT_EQ(ReadRaiseRequest(std::string(kMaxRaiseRequestBytes + 1, 'r')),
              RaiseRequestState::Refused);
}

}  // namespace
}  // namespace korvana
