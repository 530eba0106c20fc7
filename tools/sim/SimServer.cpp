#include "tools/sim/SimServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <vector>

#include "tools/sim/DownloadsIni.h"
#include "tools/sim/GuiRequests.h"

namespace korvana::sim {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

std::string TraceLine(const std::vector<std::uint8_t>& body) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string line = std::to_string(FrameOpcode(body)) + " ";
    for (std::size_t i = 2; i < body.size(); ++i) {
        line += kDigits[body[i] >> 4];
        line += kDigits[body[i] & 15];
    }
    return line + "\n";
}

void SetNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

}  // namespace

SimServer::SimServer(const SimConfig& config) : config_(config) {}

SimServer::~SimServer() {
    for (Connection& connection : connections_) {
        ::close(connection.fd);
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
    if (trace_ >= 0) {
        ::close(trace_);
    }
}

void SimServer::RequestStop() {
    stopRequested = 1;
}

bool SimServer::Listen(std::string& error) {
    const std::string host = config_.host == "localhost" ? "127.0.0.1" : config_.host;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(config_.port);
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr) {
        error = "cannot use address " + host;
        return false;
    }
    listener_ = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    const bool bound = listener_ >= 0 &&
                       ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
                       ::bind(listener_, found->ai_addr, found->ai_addrlen) == 0 &&
                       ::listen(listener_, 16) == 0;
    ::freeaddrinfo(found);
    if (!bound) {
        error = "cannot listen on " + host + " port " + port;
        return false;
    }
    SetNonBlocking(listener_);
    return true;
}

bool SimServer::WriteReadyFile(int port) const {
    return config_.readyFile.empty() ||
           WriteFileAtomically(config_.readyFile, std::to_string(port));
}

int SimServer::Run(CoreState& core) {
    std::string error;
    if (!config_.traceFile.empty()) {
        trace_ = ::open(config_.traceFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (trace_ < 0) {
            std::fprintf(stderr, "korvana-sim: cannot open trace file %s\n",
                         config_.traceFile.c_str());
            return 1;
        }
    }
    if (!Listen(error)) {
        std::fprintf(stderr, "korvana-sim: %s\n", error.c_str());
        return 1;
    }
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    const int port =
        ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                            : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    if (!WriteReadyFile(port)) {
        std::fprintf(stderr, "korvana-sim: cannot write %s\n", config_.readyFile.c_str());
        return 1;
    }
    std::fprintf(stderr, "korvana-sim: listening on %s port %d\n", config_.host.c_str(), port);
    Serve(core);
    core.Save();
    return 0;
}

void SimServer::Serve(CoreState& core) {
    while (stopRequested == 0 && !core.ShutdownRequested()) {
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        for (const Connection& connection : connections_) {
            const short events =
                static_cast<short>((connection.session->Closing() ? 0 : POLLIN) |
                                   (connection.session->PendingOutput().empty() ? 0 : POLLOUT));
            fds.push_back({connection.fd, events, 0});
        }
        ::poll(fds.data(), fds.size(), kTickMs);
        if (fds[0].revents & POLLIN) {
            Accept(core);
        }
        std::size_t i = 1;
        for (Connection& connection : connections_) {
            if (i < fds.size() && (fds[i++].revents & (POLLIN | POLLHUP | POLLERR))) {
                Read(connection);
            }
        }
        const SimClock::time_point now = SimClock::now();
        core.Tick(now);
        for (Connection& connection : connections_) {
            connection.session->Tick(now);
            Write(connection);
        }
        std::erase_if(connections_, [](const Connection& c) {
            if (c.fd < 0) {
                return true;
            }
            const bool done = c.session->Closing() && c.session->PendingOutput().empty();
            if (done) {
                ::shutdown(c.fd, SHUT_WR);
                ::close(c.fd);
            }
            return done;
        });
    }
}

void SimServer::Accept(CoreState& core) {
    for (;;) {
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            return;
        }
        Connection& connection = connections_.emplace_back();
        connection.fd = fd;
        connection.session =
            std::make_unique<Session>(core, config_.faults, !accepted_, SimClock::now());
        accepted_ = true;
        std::fprintf(stderr, "korvana-sim: front end connected\n");
    }
}

void SimServer::Read(Connection& connection) {
    std::uint8_t buffer[65536];
    const ssize_t n = ::recv(connection.fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
        return;
    }
    if (n <= 0) {
        ::close(connection.fd);
        connection.fd = -1;
        return;
    }
    connection.reader.Append(buffer, static_cast<std::size_t>(n));
    std::vector<std::uint8_t> body;
    for (;;) {
        const FrameReader::Status status = connection.reader.Next(body);
        if (status == FrameReader::Status::kTooLong) {
            ::close(connection.fd);
            connection.fd = -1;
            return;
        }
        if (status != FrameReader::Status::kFrame || connection.session->Closing()) {
            return;
        }
        Trace(body);
        connection.session->OnFrame(body);
    }
}

void SimServer::Write(Connection& connection) {
    if (connection.fd < 0) {
        return;
    }
    connection.session->Pump();
    // A bounded amount per pass, so a flood cannot starve the other
    // connections, the clock or a stop signal.
    for (std::size_t total = 0; total < kMaxWritePerPass;) {
        const std::span<const std::uint8_t> pending = connection.session->PendingOutput();
        if (pending.empty()) {
            ReportFloodSent(*connection.session);
            return;
        }
        const ssize_t n =
            ::send(connection.fd, pending.data(), pending.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        }
        if (n <= 0) {
            ::close(connection.fd);
            connection.fd = -1;
            return;
        }
        connection.session->Consume(static_cast<std::size_t>(n));
        connection.session->Pump();
        total += static_cast<std::size_t>(n);
    }
}

void SimServer::ReportFloodSent(Session& session) {
    if (session.TakeFloodSent()) {
        // On the monotonic clock, which the front end's probe also uses.
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::fprintf(stderr, "korvana-sim: flood sent at %lld ns\n",
                     static_cast<long long>(std::chrono::nanoseconds(now).count()));
    }
}

void SimServer::Trace(const std::vector<std::uint8_t>& body) const {
    if (trace_ < 0) {
        return;
    }
    const std::string line = TraceLine(body);
    // One write per line on an append-only descriptor: the line is on disk
    // (in the page cache) before the next frame is handled.
    [[maybe_unused]] const ssize_t written = ::write(trace_, line.data(), line.size());
}

void SimServer::Broadcast(const GuiMessage& message) {
    for (Connection& connection : connections_) {
        if (connection.fd >= 0) {
            connection.session->Deliver(message);
        }
    }
}

}  // namespace korvana::sim
