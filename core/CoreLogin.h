#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvana {

// The name and password the core's GUI port asks for. A fresh core has the
// user `admin` with an empty password.
struct CoreCredentials {
    std::string user = "admin";
    std::string password;
};

// What one log-in attempt came to, as the Test connection button and the
// link report it.
enum class CoreLoginOutcome {
    Connected,
    WrongPassword,  // the core answered the password with a refusal, or hung up
    Refused,        // nothing listens at that address and port
    TimedOut,       // no answer in time, to the connection or to the log-in
    NotAllowed,     // the core hung up before greeting: its allowed_ips
    UnknownHost,    // the host name does not resolve
    Cancelled,
};

// The status row and the search page while the core refuses the log-in;
// short, as both have the room of "Core not connected" only.
inline constexpr char kCoreRefusedPasswordText[] = "Wrong core password";

// "host:port", with an IPv6 address in brackets.
std::string CoreAddressText(const std::string& host, std::uint16_t port);

// True for the core's refusal of a password (a body of opcode 47 alone).
bool IsBadPasswordFrame(std::string_view body);

// A plain sentence for the user; it names the address, never the password.
std::string LoginOutcomeText(CoreLoginOutcome outcome, const std::string& host, std::uint16_t port);

struct CoreLoginTarget {
    std::string host;
    std::uint16_t port = 4001;
    CoreCredentials credentials;
    // For the connection, then for each answer of the core.
    std::chrono::milliseconds timeout{5000};
};

// Connects, waits for the core's greeting, logs in and waits for the core's
// verdict, then hangs up. Blocks up to about three times the time-out, so
// it runs off the GUI thread; it ends early as Cancelled when `interruptFd`
// (if not -1) becomes readable.
CoreLoginOutcome ProbeCoreLogin(const CoreLoginTarget& target, int interruptFd = -1);

}  // namespace korvana
