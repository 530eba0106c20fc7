#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// A second copy of the program asks the running one, over a local socket,
// to bring its window to the front: it sends kRaiseRequest and waits for
// kRaiseAnswer.
inline constexpr std::string_view kRaiseRequest = "raise\n";
inline constexpr std::string_view kRaiseAnswer = "raised\n";
// The most a request may hold; a longer one is not ours and is dropped.
inline constexpr std::size_t kMaxRaiseRequestBytes = 64;
// How long the running copy waits for a whole request before it hangs up,
// so that a client that says nothing holds no connection for ever.
inline constexpr int kRaiseRequestTimeoutMs = 2000;

// What the second copy prints before it exits.
inline constexpr const char* kRaisedText =
    "Korvana MP3 Finder is already running; its window was brought to the front.";
inline constexpr const char* kNotRaisedText =
    "Korvana MP3 Finder is already running, but it did not answer the request to show "
    "its window.";

// The longest socket path the system takes (sockaddr_un holds 108 bytes
// with the terminator), less a margin.
inline constexpr std::size_t kMaxSocketPathBytes = 100;

// The socket the running copy listens on: beside the one-copy lock in the
// install folder, so that one socket belongs to one install folder. Where
// that path is too long for a socket, a name in `runtimeFolder` (else /tmp)
// made from the user's id and the install folder's path, so every copy on that folder finds
// the same one.
std::filesystem::path RaiseSocketPath(const std::filesystem::path& installFolder,
                                      const std::optional<std::string>& runtimeFolder);

// What the running copy makes of the bytes received so far: a request when
// they are exactly kRaiseRequest, a refusal when they cannot become one (too
// long, or a different text), nothing yet while they are a beginning of it.
enum class RaiseRequestState { Incomplete, Request, Refused };
RaiseRequestState ReadRaiseRequest(std::string_view received);

}  // namespace korvana
