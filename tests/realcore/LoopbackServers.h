#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace korvana::realcore {

// A TCP server on 127.0.0.1 at a free port: each accepted connection is
// handed to `serve` on a thread of its own. Stopping closes the listener
// and every open connection and joins the threads.
class LoopbackServer {
  public:
    using Handler = std::function<void(int fd)>;
    explicit LoopbackServer(Handler serve);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const { return port_; }
    bool Stopping() const { return stopping_.load(); }

  private:
    void AcceptLoop();

    Handler serve_;
    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<int> open_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

// Serves files over HTTP/1.1 with byte ranges, as a web server would to the
// core's own HTTP downloads, at a steady rate so that a download stays in
// progress long enough to be paused.
class FakeHttpServer {
  public:
    explicit FakeHttpServer(std::int64_t bytesPerSecond);

    void AddFile(const std::string& name, std::string content);
    std::uint16_t Port() const { return server_.Port(); }
    // "GET /name bytes=A-B" (or "HEAD /name -") for each request, in order.
    std::vector<std::string> Requests() const;

  private:
    void Serve(int fd);
    std::string Content(const std::string& path, bool& found) const;

    const std::int64_t bytesPerSecond_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::vector<std::string> requests_;
    LoopbackServer server_;
};

// One file an eDonkey server reports for a search: its hash (16 bytes, or
// empty for index + 1 in every byte) and the loopback port of a peer that
// has it (0 for none).
struct Ed2kListing {
    Ed2kListing(std::string fileName, std::uint32_t fileSize, std::string fileHash = {},
                std::uint16_t peerPort = 0)
        : name(std::move(fileName)),
          size(fileSize),
          hash(std::move(fileHash)),
          sourcePort(peerPort) {}

    std::string name;
    std::uint32_t size = 0;
    std::string hash;
    std::uint16_t sourcePort = 0;
};

// An eDonkey server that lets the core log in, answers every search with
// the same listings and names a listing's peer as the source of its file.
class FakeEd2kServer {
  public:
    explicit FakeEd2kServer(std::vector<Ed2kListing> listings);

    std::uint16_t Port() const { return server_.Port(); }
    int LogIns() const { return logIns_.load(); }
    int Searches() const { return searches_.load(); }
    int SourceQueries() const { return sourceQueries_.load(); }

  private:
    void Serve(int fd);
    std::string Hash(std::size_t index) const;
    std::string SearchReply() const;
    std::string SourcesReply(const std::string& hash) const;

    const std::vector<Ed2kListing> listings_;
    std::atomic<int> logIns_{0};
    std::atomic<int> searches_{0};
    std::atomic<int> sourceQueries_{0};
    LoopbackServer server_;
};

// Reads what is there, waiting up to 200 ms; an empty answer with `closed`
// set means the peer is gone.
std::string ReadSome(int fd, bool& closed);

struct Ed2kMessage;

// Hands each eDonkey message read from `fd` to `answer`, until the peer
// goes, the stream breaks, `server` stops or `answer` returns false.
void ServeEd2kMessages(int fd, const LoopbackServer& server,
                       const std::function<bool(const Ed2kMessage&)>& answer);

// Writes all of `bytes`; false once the peer is gone.
bool SendAll(int fd, std::string_view bytes);

}  // namespace korvana::realcore
