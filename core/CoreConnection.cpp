// The connection thread of CoreLink: connect, wait for the core's first
// message, log in, then read, dispatch and write until the connection
// breaks, and start again.
#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <vector>

#include "core/CoreLink.h"
#include "core/StatusLine.h"
#include "prefs/ConsoleArgument.h"

namespace korvana {
namespace {

constexpr std::string_view kIncomingOption = "incoming_directory";
// The longest single wait for the core's first message, so the deadline
// is looked at again.
constexpr int kHelloPollMs = 50;
constexpr std::size_t kReadChunk = 64 * 1024;
// Reads per pass, so that a flood from the core does not hold up writing.
constexpr int kReadsPerPass = 16;
// The first message is logged as text, as far as its first zero byte.
constexpr std::size_t kFirstMessageText = 1000;

int PollOnce(pollfd* fds, nfds_t count, int timeoutMs) {
    int ready = 0;
    do {
        ready = poll(fds, count, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready;
}

int Milliseconds(std::chrono::steady_clock::duration duration) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, kHelloPollMs));
}

std::string FirstMessageText(const std::string& body) {
    const std::string_view text(body.data(), std::min(body.size(), kFirstMessageText));
    return std::string(text.substr(0, text.find('\0')));
}

// A real MLDonkey has no incoming_directory option: finished files go to
// the first shared folder with the incoming strategy, and `share` on a
// folder already shared only changes its priority. So the downloads folder
// is unshared and shared again, which puts it at the top of the list with
// that strategy; then the core is asked for its shared folders.
void AppendIncomingShare(std::vector<OutboundQueue::Frame>& frames, const std::string& folder,
                         StatusLog& log) {
    const std::optional<std::string> argument = ConsoleArgument(folder);
    if (!argument) {
        log.Line(FormatStatusLine(
            "The downloads folder %s cannot be named to the core; finished downloads stay in "
            "the core's own folder.",
            folder.c_str()));
        return;
    }
    for (const std::string& line :
         {"unshare " + *argument, "share 0 " + *argument + " incoming_files",
          std::string("shares")}) {
        log.Line(line);
        frames.push_back(BuildConsoleCommand(line).ToFrame());
    }
}

struct LogInPlan {
    std::string folder;
    CoreCredentials credentials;
    std::uint32_t coreProtocol = 0;
    bool remoteCore = false;
};

std::vector<OutboundQueue::Frame> LogInFrames(const LogInPlan& plan, StatusLog& log) {
    std::vector<OutboundQueue::Frame> frames;
    log.Line("Sending Hello.");
    frames.push_back(BuildProtocolVersion().ToFrame());
    frames.push_back(BuildExtensionList().ToFrame());
    log.Line("Sending Password.");
    frames.push_back(BuildPassword(plan.credentials.password, plan.credentials.user).ToFrame());
    log.Line("Password sent.");
    const std::string& folder = plan.folder;
    const bool realCore = FormForProtocol(plan.coreProtocol) == InboundForm::RealCore;
    // A real core answers the unknown option with an error for each message.
    if (!realCore && !plan.remoteCore) {
        log.Line("Sending option.");
        frames.push_back(BuildSetOption(kIncomingOption, folder).ToFrame());
        log.Line("Sending option.");
        frames.push_back(BuildOptionList(kIncomingOption, folder).ToFrame());
    }
    log.Line("Asking for downloading files");
    frames.push_back(BuildAskDownloadingFiles().ToFrame());
    if (realCore && !plan.remoteCore) {
        AppendIncomingShare(frames, folder, log);
    } else if (realCore) {
        // Its shared folders come from its console alone.
        log.Line("shares");
        frames.push_back(BuildConsoleCommand("shares").ToFrame());
    }
    return frames;
}

}  // namespace

void CoreLink::Run() {
    retryWait_ = config_.retryFirst;
    while (!Stopping() && !queue_.FinalWritten()) {
        if (socket_.IsOpen()) {
            Pass();
            continue;
        }
        if (holdOff_) {
            holdOff_ = false;
            WaitForStop(config_.retryLongest);
            continue;
        }
        if (ConnectOnce()) {
            retryWait_ = config_.retryFirst;
            continue;
        }
        WaitForStop(retryWait_);
        retryWait_ = std::min(retryWait_ * 2, config_.retryLongest);
    }
    if (queue_.FinalWritten()) {
        // The connection stays open until the link goes away, so the core
        // reads the shutdown message before it sees the connection end.
        loggedIn_ = false;
        socket_.ShutdownWrite();
    } else {
        Disconnect();
    }
}

bool CoreLink::WaitForStop(std::chrono::milliseconds timeout) {
    pollfd fd{stop_.Fd(), POLLIN, 0};
    return PollOnce(&fd, 1, static_cast<int>(timeout.count())) > 0;
}

bool CoreLink::ConnectOnce() {
    Say("Connecting");
    const CoreSocket::OpenResult result =
        socket_.Create(config_.host, config_.port, config_.connectTimeout, stop_.Fd());
    if (result == CoreSocket::OpenResult::SocketFailed) {
        ReportSocketFailure();
    }
    if (result != CoreSocket::OpenResult::Ok) {
        FailAttempt("Error connecting.");
        return false;
    }
    outageReported_ = false;
    log_.Line("Connected to server.");
    reader_.Clear();
    dispatcher_.BeginConnection();
    if (!AwaitHello()) {
        socket_.Close();
        FailAttempt("No response, returning to reconnect");
        return false;
    }
    LogIn();
    return true;
}

// While the core stays away the attempts go on quietly: the first failure
// of an outage is logged with what happens next, the others are counted.
void CoreLink::FailAttempt(std::string_view line) {
    ++failedAttempts_;
    if (quiet_) {
        return;
    }
    log_.Line(line);
    log_.Line(FormatStatusLine("Will keep trying, waiting longer each time, up to %lld ms.",
                               static_cast<long long>(config_.retryLongest.count())));
    quiet_ = true;
}

void CoreLink::Say(std::string_view line) {
    if (!quiet_) {
        log_.Line(line);
    }
}

// Attempts repeat every few milliseconds; one box per outage is enough.
void CoreLink::ReportSocketFailure() {
    if (!outageReported_) {
        outageReported_ = true;
        prompter_.Inform("Failed to create socket.", "Korvana MP3 Finder");
    }
}

bool CoreLink::AwaitHello() {
    const auto deadline = clock_.Now() + config_.helloTimeout;
    std::array<std::uint8_t, kReadChunk> chunk;
    while (!Stopping()) {
        const auto now = clock_.Now();
        if (now > deadline) {
            Say("GetHello() timeout");
            return false;
        }
        pollfd fds[2] = {{socket_.Fd(), POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
        if (PollOnce(fds, 2, std::max(1, Milliseconds(deadline - now))) <= 0 ||
            (fds[0].revents == 0)) {
            continue;
        }
        const std::ptrdiff_t got = socket_.Receive(chunk.data(), chunk.size());
        if (got < 0) {
            return false;
        }
        reader_.Append(chunk.data(), static_cast<std::size_t>(got));
        if (std::optional<std::string> body = reader_.Next()) {
            log_.Line(FormatStatusLine("Got %zu bytes: %s", body->size(),
                                       FirstMessageText(*body).c_str()));
            dispatcher_.Dispatch(*body);
            return true;
        }
        if (reader_.Broken()) {
            return false;
        }
    }
    return false;
}

// The frames go out at once; the link counts as logged in only when the
// core has answered the password with anything but a refusal.
void CoreLink::LogIn() {
    LogInPlan plan;
    plan.folder = config_.downloadsFolder ? config_.downloadsFolder() : std::string();
    plan.credentials = config_.credentials ? config_.credentials() : CoreCredentials{};
    plan.coreProtocol = dispatcher_.AnnouncedProtocol();
    plan.remoteCore = config_.remoteCore;
    queue_.StartSession(LogInFrames(plan, log_));
    lastRead_ = lastWrite_ = clock_.Now();
    writing_ = false;
    quiet_ = false;
    awaitingVerdict_ = true;
    wake_.Notify();
}

// False when `body` refuses the log-in; the first other answer logs in.
bool CoreLink::TakeVerdict(std::string_view body) {
    if (!awaitingVerdict_) {
        return true;
    }
    awaitingVerdict_ = false;
    if (IsBadPasswordFrame(body)) {
        RefuseLogIn();
        return false;
    }
    if (loginRefused_.exchange(false)) {
        log_.Line("The core accepted the user name and password.");
    }
    loggedIn_ = true;
    if (CoreLinkListener* listener = dispatcher_.Listener()) {
        listener->OnLoggedIn();
    }
    return true;
}

// A core refuses a password by saying so and hanging up, or by hanging up
// alone. Asking again at once would only be refused again, so the next
// attempt waits the longest pause; the refusal is told once.
void CoreLink::RefuseLogIn() {
    awaitingVerdict_ = false;
    holdOff_ = true;
    if (loginRefused_.exchange(true)) {
        return;
    }
    log_.Line(LoginOutcomeText(CoreLoginOutcome::WrongPassword, config_.host, config_.port));
    if (CoreLinkListener* listener = dispatcher_.Listener()) {
        listener->OnLoginRefused();
    }
}

// Waits until the socket, a queued frame or the stop signal has something;
// only a frame that is under way adds a time-out, for its stall check.
void CoreLink::Pass() {
    const bool writing = !queue_.Pending().empty();
    if (writing && !writing_) {
        lastWrite_ = clock_.Now();
    }
    writing_ = writing;
    pollfd fds[3] = {{socket_.Fd(), static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0},
                     {wake_.Fd(), POLLIN, 0},
                     {stop_.Fd(), POLLIN, 0}};
    if (PollOnce(fds, 3, PassTimeoutMs()) > 0) {
        if (fds[1].revents != 0) {
            wake_.Drain();
        }
        if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !ReadAvailable()) {
            Reconnect();
            return;
        }
        if ((fds[0].revents & POLLOUT) != 0 && !WriteAvailable()) {
            FailSend();
            return;
        }
    }
    CheckStalls();
}

int CoreLink::PassTimeoutMs() const {
    std::optional<std::chrono::steady_clock::time_point> due;
    if (writing_) {
        due = lastWrite_ + config_.sendStallTimeout;
    }
    if (reader_.InFrame()) {
        const auto frameDue = lastRead_ + config_.frameStallTimeout;
        due = due ? std::min(*due, frameDue) : frameDue;
    }
    if (!due) {
        return -1;
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(*due - clock_.Now()).count();
    // One past the deadline, so the check after the wait finds it passed.
    return static_cast<int>(std::clamp<long long>(ms + 1, 0, 60'000));
}

bool CoreLink::ReadAvailable() {
    std::array<std::uint8_t, kReadChunk> chunk;
    for (int i = 0; i < kReadsPerPass; ++i) {
        const std::ptrdiff_t got = socket_.Receive(chunk.data(), chunk.size());
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        lastRead_ = clock_.Now();
        reader_.Append(chunk.data(), static_cast<std::size_t>(got));
        while (std::optional<std::string> body = reader_.Next()) {
            if (body->size() > 5000) {
                log_.Line(FormatStatusLine("Got %zu bytes", body->size()));
            }
            if (!TakeVerdict(*body)) {
                return false;
            }
            dispatcher_.Dispatch(*body);
        }
        if (reader_.Broken()) {
            log_.Line(FormatStatusLine("Frame length %u is out of all bounds: stream broken",
                                       static_cast<unsigned>(reader_.BrokenLength())));
            return false;
        }
    }
    return true;
}

bool CoreLink::WriteAvailable() {
    for (std::span<const std::uint8_t> pending = queue_.Pending(); !pending.empty();
         pending = queue_.Pending()) {
        const std::ptrdiff_t sent = socket_.Send(pending.data(), pending.size());
        if (sent < 0) {
            return false;
        }
        if (sent == 0) {
            return true;
        }
        lastWrite_ = clock_.Now();
        queue_.Advance(static_cast<std::size_t>(sent));
    }
    return true;
}

void CoreLink::CheckStalls() {
    const auto now = clock_.Now();
    if (queue_.Pending().empty()) {
        writing_ = false;
    } else if (writing_ && now - lastWrite_ > config_.sendStallTimeout) {
        FailSend();
        return;
    }
    if (reader_.InFrame() && now - lastRead_ > config_.frameStallTimeout) {
        Reconnect();
    }
}

// The log line names the part of the frame that failed: its length, its
// opcode or its payload.
void CoreLink::FailSend() {
    const std::size_t written = queue_.WrittenOfCurrent();
    const int part = written < 4 ? 1 : (written < 6 ? 2 : 3);
    log_.Line(FormatStatusLine("Got an error from tcp->Send(), reconnecting #%d", part));
    Reconnect();
}

// A connection that ends before the core answered the password was ended
// by the core over it, whichever way this side learns of the end first
// (a failed read or a failed send).
void CoreLink::Reconnect() {
    if (awaitingVerdict_) {
        RefuseLogIn();
    }
    log_.Line("ReconnectToServer()");
    Disconnect();
}

void CoreLink::Disconnect() {
    const bool wasLoggedIn = loggedIn_.exchange(false);
    awaitingVerdict_ = false;
    socket_.Close();
    queue_.EndSession();
    reader_.Clear();
    writing_ = false;
    CoreLinkListener* listener = dispatcher_.Listener();
    if (wasLoggedIn && listener != nullptr && !Stopping()) {
        listener->OnLinkDown();
    }
}

}  // namespace korvana
