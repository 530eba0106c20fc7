#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/FrameReader.h"

namespace korvana::test {

// A stand-in core on 127.0.0.1 and a free port, driven by the test: it
// accepts connections, greets each one as told, records every frame it
// receives per connection, and sends or drops on request.
class ScriptedCore {
  public:
    enum class Greeting {
        Hello,      // an empty hello, as the plain core sends
        RealHello,  // the hello of a real MLDonkey 3: protocol 41
        Silent,     // nothing until SendHello
    };

    ScriptedCore();
    ~ScriptedCore();
    ScriptedCore(const ScriptedCore&) = delete;
    ScriptedCore& operator=(const ScriptedCore&) = delete;

    // How the core answers a password, as a real one does: with its
    // options (accepted), with a refusal and a hang-up, or a hang-up alone.
    enum class PasswordAnswer { Accept, Refuse, HangUp };

    std::uint16_t Port() const { return port_; }
    // For every password from now on.
    void SetPasswordAnswer(PasswordAnswer answer);
    // How connections are greeted, and after how long: those accepted from
    // now on, or those from the `fromConnection`th (0 is the first) on.
    void SetGreeting(Greeting greeting, std::chrono::milliseconds delay = {},
                     int fromConnection = -1);

    // Waits (up to a generous limit) until `done` holds; false on time-out.
    bool WaitUntil(const std::function<bool()>& done);
    int Connections() const;
    // The frame bodies received on connection `index` (0 is the first).
    std::vector<std::string> Frames(int index) const;
    std::vector<int> Opcodes(int index) const;
    // True once the front end closed connection `index`.
    bool ClosedByPeer(int index) const;

    // To the newest connection.
    void Send(const std::string& bytes);
    void SendHello();
    void Drop();

  private:
    struct Connection {
        int fd = -1;
        FrameReader reader{1 << 20};
        std::vector<std::string> frames;
        bool closedByPeer = false;
        std::chrono::steady_clock::time_point greetAt;
        Greeting greeting = Greeting::Hello;
        bool greeted = false;
    };

    void Serve();
    void Accept();
    void Read(Connection& connection);
    void GreetDue();
    void AnswerPassword(Connection& connection);
    static void Write(int fd, const std::string& bytes);

    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::uint16_t port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Connection> connections_;
    struct Rule {
        int fromConnection = 0;
        Greeting greeting = Greeting::Hello;
        std::chrono::milliseconds delay{0};
    };
    std::vector<Rule> rules_{Rule{}};
    PasswordAnswer passwordAnswer_ = PasswordAnswer::Accept;
    std::thread thread_;
};

}  // namespace korvana::test
