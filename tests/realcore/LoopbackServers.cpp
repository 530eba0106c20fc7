#include "tests/realcore/LoopbackServers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "tests/realcore/Ed2kWire.h"

namespace korvana::realcore {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kMaxRequestBytes = 16 * 1024;
constexpr std::size_t kHttpChunk = 4096;

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::istringstream lines(head);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > name.size() &&
            strncasecmp(line.c_str(), name.c_str(), name.size()) == 0 && line[name.size()] == ':') {
            std::string value = line.substr(name.size() + 1);
            value.erase(0, value.find_first_not_of(' '));
            value.erase(value.find_last_not_of("\r ") + 1);
            return value;
        }
    }
    return {};
}

// "bytes=A-B" or "bytes=A-" within a file of `size` bytes; false when absent
// or unusable, in which case the whole file is sent.
bool ParseRange(const std::string& value, std::size_t size, std::size_t& first, std::size_t& last) {
    unsigned long long a = 0;
    unsigned long long b = 0;
    if (std::sscanf(value.c_str(), "bytes=%llu-%llu", &a, &b) == 2) {
        first = a;
        last = std::min<std::size_t>(b, size - 1);
    } else if (std::sscanf(value.c_str(), "bytes=%llu-", &a) == 1) {
        first = a;
        last = size - 1;
    } else {
        return false;
    }
    return size > 0 && first <= last;
}

}  // namespace

std::string ReadSome(int fd, bool& closed) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 200) <= 0) {
        return {};
    }
    char buffer[4096];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    closed = got <= 0;
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

LoopbackServer::LoopbackServer(Handler serve) : serve_(std::move(serve)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on loopback");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptor_.join();
    ::close(listenFd_);
    {
        const std::lock_guard lock(mutex_);
        for (const int fd : open_) {
            ::shutdown(fd, SHUT_RDWR);
        }
    }
    for (std::thread& thread : threads_) {
        thread.join();  // each closes its own connection
    }
}

void LoopbackServer::AcceptLoop() {
    while (!stopping_) {
        pollfd ready{listenFd_, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) {
            continue;
        }
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        const std::lock_guard lock(mutex_);
        open_.push_back(fd);
        // The server ends each connection when it has answered: an HTTP
        // client that was told "Connection: close" waits for that.
        threads_.emplace_back([this, fd] {
            serve_(fd);
            const std::lock_guard done(mutex_);
            std::erase(open_, fd);
            ::close(fd);
        });
    }
}

FakeHttpServer::FakeHttpServer(std::int64_t bytesPerSecond)
    : bytesPerSecond_(bytesPerSecond), server_([this](int fd) { Serve(fd); }) {}

void FakeHttpServer::AddFile(const std::string& name, std::string content) {
    const std::lock_guard lock(mutex_);
    files_["/" + name] = std::move(content);
}

std::vector<std::string> FakeHttpServer::Requests() const {
    const std::lock_guard lock(mutex_);
    return requests_;
}

std::string FakeHttpServer::Content(const std::string& path, bool& found) const {
    const std::lock_guard lock(mutex_);
    const auto file = files_.find(path);
    found = file != files_.end();
    return found ? file->second : std::string();
}

// One request per connection: the core's HTTP client asks for a range and
// reads to the end of the answer.
void FakeHttpServer::Serve(int fd) {
    std::string head;
    bool closed = false;
    while (head.find("\r\n\r\n") == std::string::npos && !closed && !server_.Stopping() &&
           head.size() < kMaxRequestBytes) {
        head += ReadSome(fd, closed);
    }
    std::istringstream first(head);
    std::string method;
    std::string path;
    first >> method >> path;
    if (method.empty()) {
        return;
    }
    const std::string range = HeaderValue(head, "Range");
    {
        const std::lock_guard lock(mutex_);
        requests_.push_back(method + " " + path + " " + (range.empty() ? "-" : range));
    }
    bool found = false;
    const std::string content = Content(path, found);
    if (!found) {
        SendAll(fd, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        return;
    }
    std::size_t from = 0;
    std::size_t to = content.empty() ? 0 : content.size() - 1;
    const bool partial = ParseRange(range, content.size(), from, to);
    const std::string body = content.empty() ? std::string() : content.substr(from, to - from + 1);
    std::string answer = partial ? "HTTP/1.1 206 Partial Content\r\n" : "HTTP/1.1 200 OK\r\n";
    if (partial) {
        answer += "Content-Range: bytes " + std::to_string(from) + "-" + std::to_string(to) + "/" +
                  std::to_string(content.size()) + "\r\n";
    }
    answer += "Content-Length: " + std::to_string(body.size()) +
              "\r\nContent-Type: audio/mpeg\r\nConnection: close\r\n\r\n";
    if (!SendAll(fd, answer) || method != "GET") {
        return;
    }
    const auto pause = std::chrono::microseconds(1'000'000 * kHttpChunk / bytesPerSecond_);
    for (std::size_t at = 0; at < body.size() && !server_.Stopping(); at += kHttpChunk) {
        if (!SendAll(fd, std::string_view(body).substr(at, kHttpChunk))) {
            return;
        }
        std::this_thread::sleep_for(pause);
    }
}

FakeEd2kServer::FakeEd2kServer(std::vector<Ed2kListing> listings)
    : listings_(std::move(listings)), server_([this](int fd) { Serve(fd); }) {}

std::string FakeEd2kServer::Hash(std::size_t index) const {
    const std::string& hash = listings_[index].hash;
    return hash.size() == 16 ? hash : std::string(16, static_cast<char>(index + 1));
}

std::string FakeEd2kServer::SearchReply() const {
    std::string payload;
    Put32(payload, static_cast<std::uint32_t>(listings_.size()));
    for (std::size_t i = 0; i < listings_.size(); ++i) {
        payload += Hash(i);
        payload += std::string("\x7f\0\0\x01", 4);
        Put16(payload, listings_[i].sourcePort != 0 ? listings_[i].sourcePort : 4662);
        Put32(payload, 4);
        PutStringTag(payload, 0x01, listings_[i].name);
        PutIntegerTag(payload, 0x02, listings_[i].size);
        PutStringTag(payload, 0x03, "Audio");
        PutStringTag(payload, 0x04, "mp3");
    }
    return Ed2kPacket(0x33, payload);
}

// The peers on loopback that have the file of that hash (0x42), or nothing
// when no listing names one.
std::string FakeEd2kServer::SourcesReply(const std::string& hash) const {
    std::string sources;
    std::uint8_t count = 0;
    for (std::size_t i = 0; i < listings_.size(); ++i) {
        if (Hash(i) == hash && listings_[i].sourcePort != 0) {
            sources += std::string("\x7f\0\0\x01", 4);
            Put16(sources, listings_[i].sourcePort);
            ++count;
        }
    }
    return count == 0 ? std::string() : Ed2kPacket(0x42, hash + char(count) + sources);
}

// The core logs in (0x01) and gets a high id (0x40) and the server's
// counts (0x34); each search (0x16) gets the listings (0x33), each query
// for the sources of a file (0x19) the peers that have it.
void FakeEd2kServer::Serve(int fd) {
    ServeEd2kMessages(fd, server_, [&](const Ed2kMessage& message) {
        if (message.opcode == 0x01) {
            ++logIns_;
            std::string id("\x7f\0\0\x01", 4);
            Put32(id, 0);
            std::string counts;
            Put32(counts, 10);
            Put32(counts, 100);
            SendAll(fd, Ed2kPacket(0x40, id) + Ed2kPacket(0x34, counts));
        } else if (message.opcode == 0x16) {
            ++searches_;
            SendAll(fd, SearchReply());
        } else if (message.opcode == 0x19 && message.payload.size() >= 16) {
            ++sourceQueries_;
            SendAll(fd, SourcesReply(message.payload.substr(0, 16)));
        }
        return true;
    });
}

void ServeEd2kMessages(int fd, const LoopbackServer& server,
                       const std::function<bool(const Ed2kMessage&)>& answer) {
    std::string buffer;
    bool closed = false;
    bool broken = false;
    while (!closed && !broken && !server.Stopping()) {
        buffer += ReadSome(fd, closed);
        while (const std::optional<Ed2kMessage> message = TakeEd2kMessage(buffer, broken)) {
            if (!answer(*message)) {
                return;
            }
        }
    }
}

}  // namespace korvana::realcore
