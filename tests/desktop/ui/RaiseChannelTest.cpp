#include <gtest/gtest.h>

#include <QLocalSocket>
#include <fstream>
#include <future>

#include "desktop/RaiseSocket.h"
#include "desktop/ui/RaiseChannel.h"
#include "tests/support/TempDir.h"
#include "tests/ui/UiWait.h"

namespace korvana {
namespace {

// The second copy's request runs off the GUI thread, as it would in its
// own process, while the first copy's event loop answers it.
bool AskFromAnotherThread(const std::filesystem::path& socket, int timeoutMs) {
    std::future<bool> answer = std::async(
        std::launch::async, [socket, timeoutMs] { return AskToRaise(socket, timeoutMs); });
    test::WaitUntil(
        [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        timeoutMs + 5000);
    return answer.get();
}

TEST(RaiseChannel, ASecondCopyRaisesTheFirstAndHearsSo) {
    test::TempDir dir;
    const std::filesystem::path socket = RaiseSocketPath(dir.Path(), std::nullopt);
    int raised = 0;
    const RaiseServer server(socket, [&raised] { ++raised; });
    ASSERT_TRUE(server.Listening());
    EXPECT_TRUE(AskFromAnotherThread(socket, 3000));
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(AskFromAnotherThread(socket, 3000));
    EXPECT_EQ(raised, 2);
}

// A socket file left behind by a copy that crashed does not stop the next
// first copy from listening.
TEST(RaiseChannel, AStaleSocketFileIsReplaced) {
    test::TempDir dir;
    const std::filesystem::path socket = RaiseSocketPath(dir.Path(), std::nullopt);
    {
        const RaiseServer crashed(socket, [] {});
    }
    std::ofstream(socket) << "left over";
    int raised = 0;
    const RaiseServer server(socket, [&raised] { ++raised; });
    ASSERT_TRUE(server.Listening());
    EXPECT_TRUE(AskFromAnotherThread(socket, 3000));
    EXPECT_EQ(raised, 1);
}

TEST(RaiseChannel, NoListenerMeansNoAnswer) {
    test::TempDir dir;
    EXPECT_FALSE(AskToRaise(RaiseSocketPath(dir.Path(), std::nullopt), 500));
}

TEST(RaiseChannel, OtherTextRaisesNothingAndIsHungUpOn) {
    test::TempDir dir;
    const std::filesystem::path socket = RaiseSocketPath(dir.Path(), std::nullopt);
    int raised = 0;
    const RaiseServer server(socket, [&raised] { ++raised; });
    QLocalSocket client;
    client.connectToServer(QString::fromStdString(socket.string()));
    ASSERT_TRUE(test::WaitUntil([&] { return client.state() == QLocalSocket::ConnectedState; }));
    client.write("raise please\n");
    EXPECT_TRUE(test::WaitUntil([&] { return client.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_EQ(raised, 0);
    EXPECT_TRUE(client.readAll().isEmpty());
}

TEST(RaiseChannel, AClientThatSaysNothingIsHungUpOn) {
    test::TempDir dir;
    const std::filesystem::path socket = RaiseSocketPath(dir.Path(), std::nullopt);
    const RaiseServer server(socket, [] {});
    QLocalSocket client;
    client.connectToServer(QString::fromStdString(socket.string()));
    ASSERT_TRUE(test::WaitUntil([&] { return client.state() == QLocalSocket::ConnectedState; }));
    EXPECT_TRUE(test::WaitUntil([&] { return client.state() == QLocalSocket::UnconnectedState; },
                                kRaiseRequestTimeoutMs + 5000));
}

}  // namespace
}  // namespace korvana
