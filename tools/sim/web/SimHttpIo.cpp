#include "tools/sim/web/SimHttpIo.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>
#include <vector>

#include "tools/sim/web/SimWebCatalogue.h"

namespace korvana::sim {
namespace {

constexpr std::size_t kMaxRequestPart = 64 * 1024;
constexpr std::chrono::milliseconds kReadTimeout{10000};

std::size_t ContentLength(std::string_view header) {
    std::string lower(header);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t at = lower.find("\ncontent-length:");
    if (at == std::string::npos) {
        return 0;
    }
    std::size_t value = 0;
    for (std::size_t i = at + 16; i < lower.size() && value <= kMaxRequestPart; ++i) {
        if (lower[i] >= '0' && lower[i] <= '9') {
            value = value * 10 + static_cast<std::size_t>(lower[i] - '0');
        } else if (lower[i] != ' ') {
            break;
        }
    }
    return value;
}

bool ParseRequestLine(std::string_view header, SimRequest& request) {
    const std::size_t lineEnd = header.find_first_of("\r\n");
    const std::string_view line = header.substr(0, lineEnd);
    const std::size_t first = line.find(' ');
    const std::size_t second = line.rfind(' ');
    if (first == std::string_view::npos || second == first) {
        return false;
    }
    request.method = line.substr(0, first);
    request.target = line.substr(first + 1, second - first - 1);
    request.version = line.substr(second + 1);
    return !request.target.empty() && request.version.starts_with("HTTP/1.");
}

}  // namespace

bool SimHttpIo::Wait(short events, std::chrono::milliseconds timeout) const {
    pollfd fds[2] = {{fd_, events, 0}, {wakeFd_, POLLIN, 0}};
    for (;;) {
        const int ready = poll(fds, 2, static_cast<int>(timeout.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0 && fds[1].revents == 0 && fds[0].revents != 0;
    }
}

void SimHttpIo::Reset() {
    const linger hard{1, 0};
    setsockopt(fd_, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
}

bool SimHttpIo::Pause(std::chrono::milliseconds delay) const {
    pollfd wake{wakeFd_, POLLIN, 0};
    return poll(&wake, 1, static_cast<int>(delay.count())) == 0;
}

bool SimHttpIo::ReadRequest(SimRequest& request) {
    std::string& raw = request.raw;
    std::size_t headerEnd = std::string::npos;
    std::size_t needed = 0;
    char buffer[4096];
    while (headerEnd == std::string::npos || raw.size() < needed) {
        const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
        if (got > 0) {
            raw.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
                   !Wait(POLLIN, kReadTimeout)) {
            return false;
        }
        if (headerEnd == std::string::npos) {
            headerEnd = raw.find("\r\n\r\n");
            if (headerEnd == std::string::npos && raw.size() > kMaxRequestPart) {
                return false;
            }
            if (headerEnd != std::string::npos) {
                const std::size_t length = ContentLength(raw.substr(0, headerEnd + 2));
                if (length > kMaxRequestPart) {
                    return false;
                }
                needed = headerEnd + 4 + length;
            }
        }
    }
    request.body = raw.substr(headerEnd + 4, needed - headerEnd - 4);
    return ParseRequestLine(raw, request);
}

bool SimHttpIo::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            sent_ += static_cast<std::size_t>(sent);
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!Wait(POLLOUT, kReadTimeout)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

bool SimHttpIo::Send(std::string_view bytes, const SimWebFaults& faults) {
    bool stall = false;
    if (faults.stallAfterBytes) {
        const std::size_t allowed =
            *faults.stallAfterBytes > sent_ ? *faults.stallAfterBytes - sent_ : 0;
        stall = bytes.size() > allowed;
        bytes = bytes.substr(0, std::min(bytes.size(), allowed));
    }
    if (faults.trickleInterval.count() > 0) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if ((i > 0 || sent_ > 0) && !Pause(faults.trickleInterval)) {
                return false;
            }
            if (!SendAll(bytes.substr(i, 1))) {
                return false;
            }
        }
    } else if (!SendAll(bytes)) {
        return false;
    }
    if (stall) {
        Hold();
        return false;
    }
    return true;
}

void SimHttpIo::Hold() {
    char byte;
    while (Wait(POLLIN, std::chrono::hours(1))) {
        const ssize_t got = recv(fd_, &byte, 1, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
            return;
        }
    }
}

void SimHttpIo::SendReply(const SimReply& reply, bool headOnly, const SimWebFaults& faults) {
    if (!Send(reply.head, faults) || headOnly || !Send(reply.body, faults)) {
        return;
    }
    std::vector<char> chunk(64 * 1024);
    for (std::uint64_t offset = 0; offset < reply.generatedBytes;) {
        const auto count = static_cast<std::size_t>(
            std::min<std::uint64_t>(chunk.size(), reply.generatedBytes - offset));
        FillMp3Bytes(offset, chunk.data(), count);
        if (!Send(std::string_view(chunk.data(), count), faults)) {
            return;
        }
        offset += count;
    }
}

}  // namespace korvana::sim
