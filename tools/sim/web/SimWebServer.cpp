#include "tools/sim/web/SimWebServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "tools/sim/web/SimHttpIo.h"

namespace korvana::sim {
namespace {

constexpr std::size_t kMaxConnections = 256;
constexpr std::size_t kMaxLoggedRequests = 10000;

SimReply GarbageReply() {
    SimReply reply;
    reply.head = "@@ no protocol here @@\r\n";
    reply.head += std::string("\x01\x02\x7f\x80\xfe\xff", 6);
    reply.head += "\r\n\r\n~~~~ still nothing ~~~~";
    return reply;
}

}  // namespace

SimWebServer::SimWebServer(std::vector<SimTrack> catalogue) : router_(std::move(catalogue)) {}

SimWebServer::~SimWebServer() {
    Stop();
}

std::string SimWebServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

bool SimWebServer::Start(std::uint16_t port) {
    int wake[2];
    if (listenFd_ >= 0 || pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    wakeRead_ = wake[0];
    wakeWrite_ = wake[1];
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int yes = 1;
    setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listenFd_, 128) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        Stop();
        return false;
    }
    port_ = ntohs(address.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
    return true;
}

void SimWebServer::Stop() {
    if (wakeWrite_ >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wakeWrite_, &byte, 1);
    }
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    std::list<Connection> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (Connection& connection : connections) {
        connection.thread.join();
    }
    for (int* fd : {&listenFd_, &wakeRead_, &wakeWrite_}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

void SimWebServer::SetFaults(const SimWebFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

SimWebFaults SimWebServer::Faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

std::vector<SimRequest> SimWebServer::Requests() const {
    std::lock_guard lock(mutex_);
    return {requests_.begin(), requests_.end()};
}

void SimWebServer::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void SimWebServer::Record(const SimRequest& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    if (requests_.size() > kMaxLoggedRequests) {
        requests_.pop_front();
    }
}

void SimWebServer::ReapFinished() {
    std::list<Connection> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end();) {
            auto next = std::next(it);
            if (it->done->load()) {
                finished.splice(finished.end(), connections_, it);
            }
            it = next;
        }
    }
    for (Connection& connection : finished) {
        connection.thread.join();
    }
}

void SimWebServer::AcceptLoop() {
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    for (;;) {
        ReapFinished();
        const bool full = activeConnections_.load() >= kMaxConnections;
        // When full, look again shortly instead of taking more connections.
        const int ready = poll(full ? &fds[1] : fds, full ? 1 : 2, full ? 20 : 1000);
        if (fds[1].revents != 0) {
            return;
        }
        if (ready <= 0 || full) {
            continue;
        }
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        ++activeConnections_;
        std::lock_guard lock(mutex_);
        connections_.push_back({std::thread([this, fd, done] {
                                    Serve(fd);
                                    --activeConnections_;
                                    done->store(true);
                                }),
                                done});
    }
}

void SimWebServer::Serve(int fd) {
    SimHttpIo io(fd, wakeRead_);
    SimRequest request;
    if (!io.ReadRequest(request)) {
        close(fd);
        return;
    }
    Record(request);
    // Counted from the read request until the answer ends, so that a client
    // that moved on to its next request is never counted twice.
    const std::size_t answering = ++answering_;
    std::size_t peak = peakAnswering_.load();
    while (answering > peak && !peakAnswering_.compare_exchange_weak(peak, answering)) {
    }
    const bool orderly = Answer(io, request);
    --answering_;
    if (orderly) {
        shutdown(fd, SHUT_WR);
    }
    close(fd);
}

bool SimWebServer::Answer(SimHttpIo& io, const SimRequest& request) {
    const SimWebFaults faults = Faults();
    if (faults.reset) {
        io.Reset();
        return false;
    }
    if (faults.answerDelay.count() > 0 && !io.Pause(faults.answerDelay)) {
        return true;
    }
    const SimReply reply =
        faults.garbage ? GarbageReply() : router_.Route(request, BaseUrl(), faults);
    io.SendReply(reply, request.method == "HEAD", faults);
    return true;
}

}  // namespace korvana::sim
