#include "tests/support/SimHarness.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace korvana::sim::test {

namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

GuiMessage Frame::Reader() const {
    GuiMessage message;
    message.Load(payload.data(), payload.size());
    return message;
}

std::vector<std::string> SimProcess::Arguments(const fs::path& folder,
                                               const std::vector<std::string>& options) {
    const fs::path ready = folder / "ready";
    std::error_code ignored;
    fs::remove(ready, ignored);
    std::vector<std::string> args = {KORVANA_SIM_PATH,  "--port",  "0",
                                     "--ready-file",    ready,     "--dir",
                                     (folder / "core"), "--trace", (folder / "trace.txt")};
    args.insert(args.end(), options.begin(), options.end());
    return args;
}

SimProcess::SimProcess(const fs::path& folder, const std::vector<std::string>& options)
    : folder_(folder), process_(Arguments(folder, options), {}, folder / "sim.log") {
    const auto deadline = SteadyClock::now() + kPatience;
    while (port_ == 0 && process_.IsRunning() && SteadyClock::now() < deadline) {
        std::ifstream in(folder / "ready");
        if (!(in >> port_)) {
            port_ = 0;
            std::this_thread::sleep_for(10ms);
        }
    }
}

std::vector<std::string> SimProcess::TraceLines() const {
    std::vector<std::string> lines;
    std::ifstream in(TracePath());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

RawClient::RawClient(int port) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closed_ = true;
    }
}

RawClient::~RawClient() {
    ::close(fd_);
}

void RawClient::SendAll(const std::vector<GuiMessage>& messages) {
    std::vector<std::uint8_t> bytes;
    for (const GuiMessage& message : messages) {
        const std::vector<std::uint8_t> frame = message.ToFrame();
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

void RawClient::Send(const GuiMessage& message) {
    SendAll({message});
}

void RawClient::LogIn(const std::string& user, const std::string& password) {
    GuiMessage version(0);
    version.Put32(30);
    GuiMessage extensions(47);
    extensions.Put16(1);
    extensions.Put32(0);
    extensions.Put8(0);
    SendAll({version, extensions, StringsMessage(52, {password, user})});
}

bool RawClient::Fill(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    pollfd fd{fd_, POLLIN, 0};
    if (closed_ || left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    std::uint8_t chunk[65536];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) {
        closed_ = true;
        return false;
    }
    buffer_.insert(buffer_.end(), chunk, chunk + n);
    return true;
}

std::optional<Frame> RawClient::Next(std::chrono::milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    for (;;) {
        if (buffer_.size() >= 4) {
            const std::size_t length = buffer_[0] | buffer_[1] << 8 | buffer_[2] << 16 |
                                       static_cast<std::size_t>(buffer_[3]) << 24;
            if (buffer_.size() >= 4 + length && length >= 2) {
                Frame frame{buffer_[4] | buffer_[5] << 8,
                            std::vector<std::uint8_t>(
                                buffer_.begin() + 6,
                                buffer_.begin() + 4 + static_cast<std::ptrdiff_t>(length))};
                buffer_.erase(buffer_.begin(),
                              buffer_.begin() + 4 + static_cast<std::ptrdiff_t>(length));
                return frame;
            }
        }
        if (!Fill(deadline)) {
            return std::nullopt;
        }
    }
}

std::optional<Frame> RawClient::WaitFor(const std::function<bool(const Frame&)>& wanted,
                                        std::chrono::milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    while (SteadyClock::now() < deadline) {
        std::optional<Frame> frame = Next(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()));
        if (!frame) {
            return std::nullopt;
        }
        if (wanted(*frame)) {
            return frame;
        }
    }
    return std::nullopt;
}

std::optional<Frame> RawClient::WaitForOpcode(int opcode, std::chrono::milliseconds timeout) {
    return WaitFor([opcode](const Frame& frame) { return frame.opcode == opcode; }, timeout);
}

std::optional<std::vector<std::uint8_t>> RawClient::ReadUntilClosed(
    std::chrono::milliseconds timeout) {
    const auto deadline = SteadyClock::now() + timeout;
    while (!closed_ && Fill(deadline)) {
    }
    if (!closed_) {
        return std::nullopt;
    }
    return buffer_;
}

GuiMessage SearchMessage(std::int32_t id, const std::string& keywords) {
    GuiMessage message(42);
    message.Put32(static_cast<std::uint32_t>(id));
    message.Put8(0);
    message.Put16(3);
    for (const auto& [kind, value] :
         {std::pair<int, std::string>{7, "mp3"}, {8, "Audio"}, {4, keywords}}) {
        message.Put8(static_cast<std::uint8_t>(kind));
        message.PutString("Comment");
        message.PutString(value);
    }
    message.Put32(1000000);
    message.Put8(1);
    message.Put32(0);
    return message;
}

GuiMessage StringsMessage(int opcode, const std::vector<std::string>& texts) {
    GuiMessage message(opcode);
    for (const std::string& text : texts) {
        message.PutString(text);
    }
    return message;
}

GuiMessage NumberMessage(int opcode, std::int32_t number) {
    GuiMessage message(opcode);
    message.Put32(static_cast<std::uint32_t>(number));
    return message;
}

GuiMessage SwitchMessage(std::int32_t file, bool resume) {
    GuiMessage message = NumberMessage(23, file);
    message.Put8(resume ? 1 : 0);
    return message;
}

GuiMessage DownloadMessage(const std::string& name, std::int32_t resultId) {
    GuiMessage message(50);
    message.Put16(1);
    message.PutString(name);
    message.Put32(static_cast<std::uint32_t>(resultId));
    message.Put8(1);
    return message;
}

namespace {

void SkipStringList(GuiMessage& m) {
    for (std::uint16_t n = m.Get16(); n > 0; --n) {
        m.GetString();
    }
}

std::optional<ListedDownload> ReadEntry(GuiMessage& m) {
    ListedDownload d;
    d.number = static_cast<std::int32_t>(m.Get32());
    m.Get32();
    SkipStringList(m);
    std::uint8_t hash[16];
    m.GetBytes(hash, sizeof hash);
    d.size = m.Get64();
    d.downloaded = m.Get64();
    m.Get32();
    m.Get32();
    d.state = m.Get8();
    if (d.state == 6) {
        m.GetString();
    }
    m.GetString();
    for (std::uint16_t n = m.Get16(); n > 0; --n) {
        m.Get32();
        m.GetString();
    }
    m.GetDecimal();
    for (std::uint16_t n = m.Get16(); n > 0; --n) {
        m.Get32();
    }
    m.Get32();
    const std::uint8_t kind = m.Get8();
    const int strings = kind == 1 ? 2 : kind == 2 ? 1 : kind == 3 ? 5 : 0;
    const int numbers = kind == 2 ? 4 : kind == 3 ? 2 : 0;
    for (int i = 0; i < strings; ++i) {
        m.GetString();
    }
    for (int i = 0; i < numbers; ++i) {
        m.Get32();
    }
    std::optional<std::string> name = m.GetString();
    if (!name) {
        return std::nullopt;
    }
    d.name = *name;
    m.Get32();
    m.Get32();
    return m.GetString() ? std::optional(d) : std::nullopt;
}

}  // namespace

std::vector<ListedDownload> ReadDownloadList(const Frame& frame) {
    GuiMessage m = frame.Reader();
    std::vector<ListedDownload> list;
    for (std::uint16_t n = m.Get16(); n > 0; --n) {
        std::optional<ListedDownload> entry = ReadEntry(m);
        if (!entry) {
            break;
        }
        list.push_back(*entry);
    }
    return list;
}

}  // namespace korvana::sim::test
