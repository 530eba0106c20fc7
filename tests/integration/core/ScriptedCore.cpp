#include "tests/integration/core/ScriptedCore.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace korvana::test {
namespace {

constexpr auto kWaitLimit = std::chrono::seconds(20);
constexpr int kPasswordOpcode = 52;
// An options message that lists no option: the first answer of a core
// that accepted the log-in.
const std::string kNoOptionsFrame("\x04\0\0\0\x01\0\0\0", 8);
const std::string kBadPasswordFrame("\x02\0\0\0\x2F\0", 6);

int OpcodeOf(const std::string& body) {
    return body.size() < 2
               ? -1
               : static_cast<unsigned char>(body[0]) | (static_cast<unsigned char>(body[1]) << 8);
}

std::string HelloFrame(ScriptedCore::Greeting greeting) {
    if (greeting == ScriptedCore::Greeting::RealHello) {
        return std::string("\x0E\0\0\0\0\0\x29\0\0\0\x3B\0\0\0\x44\0\0\0", 18);
    }
    return std::string("\x02\0\0\0\0\0", 6);
}

}  // namespace

ScriptedCore::ScriptedCore() {
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listenFd_, 8) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        pipe2(stopPipe_, O_CLOEXEC) != 0) {
        throw std::runtime_error("scripted core cannot listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&ScriptedCore::Serve, this);
}

ScriptedCore::~ScriptedCore() {
    [[maybe_unused]] const ssize_t written = write(stopPipe_[1], "x", 1);
    thread_.join();
    for (Connection& connection : connections_) {
        if (connection.fd >= 0) {
            close(connection.fd);
        }
    }
    close(listenFd_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

void ScriptedCore::SetGreeting(Greeting greeting, std::chrono::milliseconds delay,
                               int fromConnection) {
    std::lock_guard lock(mutex_);
    const int from = fromConnection >= 0 ? fromConnection : static_cast<int>(connections_.size());
    rules_.push_back({from, greeting, delay});
}

void ScriptedCore::SetPasswordAnswer(PasswordAnswer answer) {
    std::lock_guard lock(mutex_);
    passwordAnswer_ = answer;
}

void ScriptedCore::AnswerPassword(Connection& connection) {
    if (passwordAnswer_ == PasswordAnswer::Accept) {
        Write(connection.fd, kNoOptionsFrame);
        return;
    }
    if (passwordAnswer_ == PasswordAnswer::Refuse) {
        Write(connection.fd, kBadPasswordFrame);
    }
    close(connection.fd);
    connection.fd = -1;
}

void ScriptedCore::Serve() {
    for (;;) {
        std::vector<pollfd> fds{{stopPipe_[0], POLLIN, 0}, {listenFd_, POLLIN, 0}};
        {
            std::lock_guard lock(mutex_);
            for (const Connection& connection : connections_) {
                fds.push_back({connection.fd, POLLIN, 0});
            }
        }
        poll(fds.data(), fds.size(), 10);
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents != 0) {
            Accept();
        }
        std::lock_guard lock(mutex_);
        for (std::size_t i = 2; i < fds.size(); ++i) {
            // A connection dropped meanwhile has fd -1 and is skipped.
            Connection& connection = connections_[i - 2];
            if (fds[i].revents != 0 && connection.fd == fds[i].fd) {
                Read(connection);
            }
        }
        GreetDue();
    }
}

void ScriptedCore::Accept() {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    Connection connection;
    connection.fd = fd;
    // The newest rule that covers this connection decides.
    const int index = static_cast<int>(connections_.size());
    const auto rule = std::find_if(rules_.rbegin(), rules_.rend(),
                                   [index](const Rule& r) { return r.fromConnection <= index; });
    connection.greeting = rule->greeting;
    connection.greetAt = std::chrono::steady_clock::now() + rule->delay;
    connections_.push_back(std::move(connection));
    changed_.notify_all();
}

void ScriptedCore::Read(Connection& connection) {
    char buffer[65536];
    const ssize_t got = recv(connection.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
        close(connection.fd);
        connection.fd = -1;
        connection.closedByPeer = true;
    } else if (got > 0) {
        connection.reader.Append(std::string_view(buffer, static_cast<std::size_t>(got)));
        while (connection.fd >= 0) {
            std::optional<std::string> body = connection.reader.Next();
            if (!body) {
                break;
            }
            const bool password = OpcodeOf(*body) == kPasswordOpcode;
            connection.frames.push_back(std::move(*body));
            if (password) {
                AnswerPassword(connection);
            }
        }
    }
    changed_.notify_all();
}

void ScriptedCore::GreetDue() {
    const auto now = std::chrono::steady_clock::now();
    for (Connection& connection : connections_) {
        if (!connection.greeted && connection.fd >= 0 && connection.greeting != Greeting::Silent &&
            now >= connection.greetAt) {
            connection.greeted = true;
            Write(connection.fd, HelloFrame(connection.greeting));
        }
    }
}

void ScriptedCore::Write(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (fd >= 0 && sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

bool ScriptedCore::WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kWaitLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // Changes on the front end's side (its log, its tables) do not
        // signal this core, so look again at short intervals as well.
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(10));
    }
    return true;
}

int ScriptedCore::Connections() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(connections_.size());
}

std::vector<std::string> ScriptedCore::Frames(int index) const {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(connections_.size())) {
        return {};
    }
    return connections_[static_cast<std::size_t>(index)].frames;
}

std::vector<int> ScriptedCore::Opcodes(int index) const {
    std::vector<int> opcodes;
    for (const std::string& frame : Frames(index)) {
        const auto byte = [&frame](std::size_t i) {
            return i < frame.size() ? static_cast<unsigned char>(frame[i]) : 0;
        };
        opcodes.push_back(byte(0) | (byte(1) << 8));
    }
    return opcodes;
}

bool ScriptedCore::ClosedByPeer(int index) const {
    std::lock_guard lock(mutex_);
    return index >= 0 && index < static_cast<int>(connections_.size()) &&
           connections_[static_cast<std::size_t>(index)].closedByPeer;
}

void ScriptedCore::Send(const std::string& bytes) {
    std::lock_guard lock(mutex_);
    if (!connections_.empty()) {
        Write(connections_.back().fd, bytes);
    }
}

void ScriptedCore::SendHello() {
    std::lock_guard lock(mutex_);
    if (!connections_.empty() && !connections_.back().greeted) {
        connections_.back().greeted = true;
        Write(connections_.back().fd, HelloFrame(Greeting::Hello));
    }
}

void ScriptedCore::Drop() {
    std::lock_guard lock(mutex_);
    if (!connections_.empty() && connections_.back().fd >= 0) {
        close(connections_.back().fd);
        connections_.back().fd = -1;
    }
}

}  // namespace korvana::test
