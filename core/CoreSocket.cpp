#include "core/CoreSocket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace korvana {
namespace {

using AddressList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

AddressList Resolve(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        found = nullptr;
    }
    return AddressList(found, &freeaddrinfo);
}

// IPv4 first: a core started with its defaults listens there.
std::vector<const addrinfo*> InPreferredOrder(const addrinfo* list) {
    std::vector<const addrinfo*> ordered;
    for (int pass = 0; pass < 2; ++pass) {
        for (const addrinfo* a = list; a != nullptr; a = a->ai_next) {
            if ((a->ai_family == AF_INET) == (pass == 0)) {
                ordered.push_back(a);
            }
        }
    }
    return ordered;
}

enum class ConnectWait { Connected, Failed, TimedOut, Interrupted };

// Waits for a non-blocking connect to finish.
ConnectWait FinishConnect(int fd, std::chrono::milliseconds timeout, int interruptFd) {
    pollfd fds[2] = {{fd, POLLOUT, 0}, {interruptFd, POLLIN, 0}};
    const nfds_t count = interruptFd >= 0 ? 2 : 1;
    int ready = 0;
    do {
        ready = poll(fds, count, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    if (ready == 0) {
        return ConnectWait::TimedOut;
    }
    // An interrupt wins over a connection that completed at the same moment:
    // whoever interrupted no longer wants it.
    if (count == 2 && ready > 0 && (fds[1].revents & POLLIN) != 0) {
        return ConnectWait::Interrupted;
    }
    if (ready < 0) {
        return ConnectWait::Failed;
    }
    int error = 0;
    socklen_t length = sizeof error;
    const bool connected = getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    return connected ? ConnectWait::Connected : ConnectWait::Failed;
}

void ReportWriteError(int error) {
    std::fprintf(stderr, "Write: %s\n", std::strerror(error));
}

}  // namespace

CoreSocket::~CoreSocket() {
    Close();
}

CoreSocket::OpenResult CoreSocket::Create(const std::string& host, std::uint16_t port,
                                          std::chrono::milliseconds timeout, int interruptFd) {
    if (IsOpen()) {
        return OpenResult::AlreadyOpen;
    }
    const AddressList addresses = Resolve(host, port);
    if (!addresses) {
        return OpenResult::ResolveFailed;
    }
    OpenResult failure = OpenResult::ConnectFailed;
    for (const addrinfo* address : InPreferredOrder(addresses.get())) {
        const int fd =
            socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return OpenResult::SocketFailed;
        }
        const int on = 1;
        const bool keepAlive = setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) == 0;
        ConnectWait wait = ConnectWait::Failed;
        if (keepAlive) {
            if (connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
                wait = ConnectWait::Connected;
            } else if (errno == EINPROGRESS) {
                wait = FinishConnect(fd, timeout, interruptFd);
            }
        }
        if (wait == ConnectWait::Connected) {
            fd_ = fd;
            return OpenResult::Ok;
        }
        close(fd);
        if (wait == ConnectWait::Interrupted) {
            return OpenResult::Interrupted;
        }
        failure = wait == ConnectWait::TimedOut ? OpenResult::TimedOut : OpenResult::ConnectFailed;
    }
    return failure;
}

void CoreSocket::Close() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
}

void CoreSocket::ShutdownWrite() {
    if (fd_ >= 0) {
        shutdown(fd_, SHUT_WR);
    }
}

std::ptrdiff_t CoreSocket::Send(const std::uint8_t* bytes, std::size_t n) {
    if (!IsOpen()) {
        return -1;
    }
    ssize_t sent = 0;
    do {
        sent = send(fd_, bytes, n, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    if (sent >= 0) {
        return sent;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
        return 0;
    }
    ReportWriteError(errno);
    return -1;
}

std::ptrdiff_t CoreSocket::Receive(std::uint8_t* buffer, std::size_t capacity) {
    if (!IsOpen()) {
        return -1;
    }
    ssize_t got = 0;
    do {
        got = recv(fd_, buffer, capacity, 0);
    } while (got < 0 && errno == EINTR);
    if (got > 0) {
        return got;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return 0;
    }
    return -1;
}

}  // namespace korvana
