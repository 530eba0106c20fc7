#include "core/CoreLogin.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "core/CoreSocket.h"
#include "core/FrameReader.h"
#include "core/OutboundMessages.h"

namespace korvana {
namespace {

constexpr int kBadPasswordOpcode = 47;

enum class Wait { Frame, Closed, TimedOut, Cancelled };

// Waits for the next whole frame from the core; its body is left in `body`.
Wait NextFrame(CoreSocket& socket, FrameReader& reader, std::chrono::milliseconds timeout,
               int interruptFd, std::string& body) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::array<std::uint8_t, 16 * 1024> chunk;
    while (true) {
        if (std::optional<std::string> next = reader.Next()) {
            body = std::move(*next);
            return Wait::Frame;
        }
        if (reader.Broken()) {
            return Wait::Closed;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return Wait::TimedOut;
        }
        pollfd fds[2] = {{socket.Fd(), POLLIN, 0}, {interruptFd, POLLIN, 0}};
        const int ready = poll(fds, interruptFd >= 0 ? 2 : 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            return Wait::Closed;
        }
        if (interruptFd >= 0 && (fds[1].revents & POLLIN) != 0) {
            return Wait::Cancelled;
        }
        if (ready > 0) {
            const std::ptrdiff_t got = socket.Receive(chunk.data(), chunk.size());
            if (got < 0) {
                return Wait::Closed;
            }
            reader.Append(chunk.data(), static_cast<std::size_t>(got));
        }
    }
}

bool SendAll(CoreSocket& socket, const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd fd{socket.Fd(), POLLOUT, 0};
        if (poll(&fd, 1, 1000) <= 0) {
            return false;
        }
        const std::ptrdiff_t n = socket.Send(bytes.data() + sent, bytes.size() - sent);
        if (n < 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

CoreLoginOutcome OpenOutcome(CoreSocket::OpenResult result) {
    switch (result) {
        case CoreSocket::OpenResult::Ok:
        case CoreSocket::OpenResult::AlreadyOpen:
            return CoreLoginOutcome::Connected;
        case CoreSocket::OpenResult::ResolveFailed:
            return CoreLoginOutcome::UnknownHost;
        case CoreSocket::OpenResult::TimedOut:
            return CoreLoginOutcome::TimedOut;
        case CoreSocket::OpenResult::Interrupted:
            return CoreLoginOutcome::Cancelled;
        case CoreSocket::OpenResult::SocketFailed:
        case CoreSocket::OpenResult::ConnectFailed:
            break;
    }
    return CoreLoginOutcome::Refused;
}

CoreLoginOutcome WaitOutcome(Wait wait, CoreLoginOutcome whenClosed) {
    switch (wait) {
        case Wait::Frame:
            return CoreLoginOutcome::Connected;
        case Wait::Closed:
            return whenClosed;
        case Wait::TimedOut:
            return CoreLoginOutcome::TimedOut;
        case Wait::Cancelled:
            break;
    }
    return CoreLoginOutcome::Cancelled;
}

}  // namespace

std::string CoreAddressText(const std::string& host, std::uint16_t port) {
    const bool bareIpv6 = host.find(':') != std::string::npos && !host.starts_with('[');
    return (bareIpv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

bool IsBadPasswordFrame(std::string_view body) {
    return body.size() == 2 && static_cast<unsigned char>(body[0]) == kBadPasswordOpcode &&
           body[1] == 0;
}

std::string LoginOutcomeText(CoreLoginOutcome outcome, const std::string& host,
                             std::uint16_t port) {
    const std::string at = CoreAddressText(host, port);
    switch (outcome) {
        case CoreLoginOutcome::Connected:
            return "Connected: the core at " + at + " accepted the user name and password.";
        case CoreLoginOutcome::WrongPassword:
            return "Wrong user name or password: the core at " + at + " refused the log-in.";
        case CoreLoginOutcome::Refused:
            return "Connection refused: no core listens at " + at + ".";
        case CoreLoginOutcome::TimedOut:
            return "Timed out: the core at " + at + " did not answer in time.";
        case CoreLoginOutcome::NotAllowed:
            return "The core at " + at +
                   " hung up at once: it does not accept this computer (its allowed_ips "
                   "option).";
        case CoreLoginOutcome::UnknownHost:
            return "Unknown host: " + host + " could not be found.";
        case CoreLoginOutcome::Cancelled:
            break;
    }
    return "The connection test was cancelled.";
}

CoreLoginOutcome ProbeCoreLogin(const CoreLoginTarget& target, int interruptFd) {
    CoreSocket socket;
    const CoreSocket::OpenResult opened =
        socket.Create(target.host, target.port, target.timeout, interruptFd);
    if (opened != CoreSocket::OpenResult::Ok) {
        return OpenOutcome(opened);
    }
    FrameReader reader;
    std::string body;
    const Wait greeting = NextFrame(socket, reader, target.timeout, interruptFd, body);
    if (greeting != Wait::Frame) {
        return WaitOutcome(greeting, CoreLoginOutcome::NotAllowed);
    }
    std::vector<std::uint8_t> login;
    for (const GuiMessage& message :
         {BuildProtocolVersion(), BuildExtensionList(),
          BuildPassword(target.credentials.password, target.credentials.user)}) {
        const std::vector<std::uint8_t> frame = message.ToFrame();
        login.insert(login.end(), frame.begin(), frame.end());
    }
    if (!SendAll(socket, login)) {
        return CoreLoginOutcome::WrongPassword;
    }
    const Wait verdict = NextFrame(socket, reader, target.timeout, interruptFd, body);
    if (verdict == Wait::Frame && IsBadPasswordFrame(body)) {
        return CoreLoginOutcome::WrongPassword;
    }
    return WaitOutcome(verdict, CoreLoginOutcome::WrongPassword);
}

}  // namespace korvana
